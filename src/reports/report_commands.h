// The report commands: the save offer at the end of a chaining or diagnosing
// command, and the two report commands of the "&Abstracts and Reports" menu.
#pragma once

namespace torv { struct AppState; }

namespace torv::reports {

/// raport: offers to save the report buffer as a *.RPT file. Called as the
/// last step of forward and backward chaining and of each diagnosis. The
/// buffer is never changed, whether the save succeeds, fails or is declined.
void raport(AppState& app);

/// przeglad_raportu (report inspection, menu item 10142): reads a chosen
/// report file into the report buffer and shows it in the text view. A file
/// that cannot be read is reported and leaves the buffer as it was.
void przeglad_raportu(AppState& app);

/// usuwanie_raportu (report deleting, menu item 10143): deletes a chosen
/// report file after the user confirms.
void usuwanie_raportu(AppState& app);

}  // namespace torv::reports
