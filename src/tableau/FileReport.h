#pragma once

#include <cstdio>
#include <string>

// The workstation's report file being written. Lines go to a temporary file
// in the same folder; Completa() renames it over the report, so a build that
// stops half-way leaves the previous report as it was.
class FileReport {
public:
    // Opens the temporary file in the current folder. Throws Errore 75.
    FileReport();
    // Removes the temporary file unless Completa() was reached.
    ~FileReport();
    FileReport(const FileReport&) = delete;
    FileReport& operator=(const FileReport&) = delete;

    // Writes one line followed by CR LF.
    void ScriviRiga(const std::string& riga);
    // Writes `testo` as it is, line ends included.
    void Scrivi(const std::string& testo);

    // Closes the temporary file and puts it in place of the report. Throws Errore 75.
    void Completa();

private:
    [[noreturn]] void Fallito() const;

    std::string nomeReport_;
    std::string nomeTemporaneo_;
    std::FILE* file_ = nullptr;
};
