#pragma once

class QAbstractButton;
class QComboBox;

// Enter, on the main keyboard or the keypad, presses `pulsante` while it holds
// the focus, as Space does: on the suite's forms Enter presses the focused
// button. A key held down presses it once.
void PremeConInvio(QAbstractButton& pulsante);

// Shows that the list `elenco` holds the focus as the suite's forms do: its
// field in the selection colours while it has it, however the focus came
// (the style's own mark is a thin outline, drawn only after Tab).
void EvidenziaFuoco(QComboBox& elenco);
