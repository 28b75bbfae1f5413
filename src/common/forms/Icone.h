#pragma once

#include <QIcon>

// Pictures of the windows' buttons, drawn at any size.
QIcon IconaStampa();
QIcon IconaEsci();
QIcon IconaAnteprima();
QIcon IconaArchivio();
QIcon IconaEsporta();
QIcon IconaPdf();
