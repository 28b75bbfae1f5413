#pragma once

#include <QIcon>

// Pictures of the main window's buttons, drawn at any size.
QIcon IconaStampa();
QIcon IconaEsci();
