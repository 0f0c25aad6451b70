// ReportBuffer: the report text of the current command, written together
// with the message window. Appends grow one string in place (amortised
// constant time); long diagnoses write many thousands of pieces.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "port/message_window.h"

namespace torv::reports {

class ReportBuffer {
public:
    explicit ReportBuffer(port::MessageWindow& messages) : messages_(messages) {}

    /// pisz: text to the message window and the report.
    void pisz(std::string_view s);
    /// piszint: a decimal integer.
    void piszint(std::int64_t i);
    /// piszreal: general form, at most 6 significant digits.
    void piszreal(double r);
    /// piszcr: a line break.
    void piszcr();
    /// lista_dla_raportu: the strings, concatenated, to the report only.
    void lista_dla_raportu(const std::vector<std::string>& l);

    /// kasowanie_tekst_raportu: empties the report.
    void kasowanie_tekst_raportu() { text_.clear(); }
    /// tekst_raportu: the report so far.
    const std::string& tekst_raportu() const { return text_; }
    /// Replaces the report (report inspection reads a saved one into it).
    void replace(std::string text) { text_ = std::move(text); }

private:
    port::MessageWindow& messages_;
    std::string text_;
};

/// The general number form with at most 6 significant digits ("%g" in the
/// C locale): 0.1 -> "0.1", 1234567.0 -> "1.23457e+06".
std::string formatReal(double r);

}  // namespace torv::reports
