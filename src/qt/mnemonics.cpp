// Mnemonic letters chosen from the words of a text, rare words first.
#include "qt/mnemonics.h"

#include <algorithm>
#include <map>
#include <set>

#include <QRegularExpression>

namespace torv::qt {

QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;   // "&&" is a literal ampersand
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

namespace {
struct Word {
    qsizetype at;
    qsizetype length;
    int count;   // how many sibling texts use it
};

QList<Word> wordsOf(const QString& text, const std::map<QString, int>& counts) {
    static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]+"));
    QList<Word> out;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const auto c = counts.find(m.captured().toLower());
        out.push_back({m.capturedStart(), m.capturedLength(), c == counts.end() ? 1 : c->second});
    }
    // Words that tell siblings apart come first ("Model" before "Exact").
    std::stable_sort(out.begin(), out.end(), [](const Word& a, const Word& b) { return a.count < b.count; });
    return out;
}
}  // namespace

QStringList withMnemonics(const QStringList& texts, bool reassignShared) {
    std::map<QString, int> counts;
    for (const auto& t : texts) {
        std::set<QString> seen;
        static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]+"));
        for (auto it = word.globalMatch(QString(t).remove(QLatin1Char('&'))); it.hasNext();) {
            const QString w = it.next().captured().toLower();
            if (seen.insert(w).second) ++counts[w];
        }
    }

    std::set<QChar> taken;
    QList<bool> keeps;
    for (const auto& t : texts) {
        const QChar m = mnemonicOf(t);
        const bool keep = !m.isNull() && (!reassignShared || !taken.count(m));
        if (keep) taken.insert(m);
        keeps << keep;
    }

    QStringList out;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (keeps[i]) {
            out << texts[i];
            continue;
        }
        QString plain = texts[i];
        if (!mnemonicOf(plain).isNull()) plain.remove(QLatin1Char('&'));
        const QList<Word> words = wordsOf(plain, counts);
        qsizetype pick = -1;
        // Word starts first, then the other letters, rare words first.
        for (const auto& w : words)
            if (pick < 0 && !taken.count(plain[w.at].toLower())) pick = w.at;
        for (const auto& w : words)
            for (qsizetype k = w.at + 1; pick < 0 && k < w.at + w.length; ++k)
                if (!taken.count(plain[k].toLower())) pick = k;
        if (pick < 0) {
            out << plain;   // no free letter left
            continue;
        }
        taken.insert(plain[pick].toLower());
        out << plain.left(pick) + QLatin1Char('&') + plain.mid(pick);
    }
    return out;
}

}  // namespace torv::qt
