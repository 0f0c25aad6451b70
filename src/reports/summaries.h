// Chaining summaries: the labels, facts and argument values of a run saved
// as plain text, and the two summary commands of the abstracts menu.
#pragma once

#include <string>

namespace torv { struct AppState; }
namespace torv::engine { struct ChainingState; }

namespace torv::reports {

/// podsumowanie: offers to save the summary of the run that just ended.
void podsumowanie(AppState& app);

/// The text of a summary file.
std::string tekst_podsumowania(const engine::ChainingState& s);

/// "Summary reading" (10148): a chosen summary in the inspection window.
void czytanie_podsumowania(AppState& app);
/// "Summary deleting" (10149): deletes a chosen summary after confirmation.
void usuwanie_podsumowania(AppState& app);

}  // namespace torv::reports
