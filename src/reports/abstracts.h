// Abstracts: the author's description of a knowledge base, shown before
// every chaining run.
#pragma once

namespace torv { struct AppState; }

namespace torv::reports {

/// czytaj_opis: shows the abstract named by `opis` in the "Abstract
/// inspection" dialog when the file exists; otherwise does nothing.
void czytaj_opis(AppState& app);

/// "Abstract inspection" (menu item 10144): a chosen abstract file in the
/// text view.
void przeglad_opisu(AppState& app);

}  // namespace torv::reports
