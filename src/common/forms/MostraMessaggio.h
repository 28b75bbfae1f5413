#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// Shows `messaggio` (lines separated by CR LF) in the program's message box
// with the buttons of `stile` and the title `titolo`, waits until the box
// closes and returns the code of the button pressed (see MsgBox_Form::Esito).
// `dettagli`: technical text the user opens under "Dettagli" (none when empty).
std::int16_t MostraMessaggio(const QString& messaggio, std::int16_t stile, const QString& titolo,
                             const QString& dettagli = {});

// The same for Windows-1252 texts, as the core keeps them.
std::int16_t MostraMessaggio(const std::string& messaggio, std::int16_t stile, const std::string& titolo);

// Shows an error that stopped an operation, "Errore N: descrizione", with one
// "Ok" button and the title "Errore"; the window that ran it goes on.
void MostraErrore(const std::exception& errore);

// Runs one operation of a window (an activation, a button): an error is shown
// by MostraErrore, the rest of that operation is dropped and the window goes on.
void EseguiMostrandoErrore(const std::function<void()>& azione);
