#include "archivio/RichiestaArresto.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

RichiestaArresto::RichiestaArresto() : evento_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!evento_) throw std::system_error(errno, std::generic_category(), "eventfd");
}

RichiestaArresto::RichiestaArresto(std::stop_token arresto) : RichiestaArresto() {
    richiamo_.emplace(std::move(arresto), Richiesta{this});
}

void RichiestaArresto::Fai() const {
    const std::uint64_t uno = 1;
    // A write fails only when the counter is full, which leaves it readable all the same.
    [[maybe_unused]] const auto scritti = write(evento_.Fd(), &uno, sizeof uno);
}

bool RichiestaArresto::Fatta() const {
    pollfd attesa{evento_.Fd(), POLLIN, 0};
    return poll(&attesa, 1, 0) == 1;
}
