#pragma once

#include <string>

// Creates the folder `cartella` holding a complete demo suite as SQLite files
// under the suite's file names: two hotels, their tableau definitions, rooms
// of several types, registered parties, bookings of every type, charges,
// agencies and the printer tables. Stays are dated around the week of `oggi`
// (dd/mm/yyyy): parties that arrived by `oggi` are registered guests, later
// arrivals are bookings, so the tableau from any day of that week is full.
// The folder must not exist or be empty; it appears only once complete.
// Throws Errore 75 when it cannot be written.
void CreaDatiDemo(const std::string& cartella, const std::string& oggi);
