#include "NumberFormat.h"

#include <QLocale>
#include <cmath>

namespace {

// One part of a pattern (the one for positive numbers or the one for negatives).
struct Section {
    QString prefix; // literal text before the first digit placeholder
    QString suffix; // literal text after it
    bool grouping = false;
    bool hasDigits = false;
    int minIntDigits = 0;
    int minFracDigits = 0;
    int maxFracDigits = 0;
};

Section ParseSection(QStringView text) {
    Section s;
    bool started = false;
    bool inFraction = false;
    for (QChar c : text) {
        if (c == u',') {
            s.grouping = true;
        } else if (c == u'.') {
            started = s.hasDigits = true;
            inFraction = true;
        } else if (c == u'0' || c == u'#') {
            started = s.hasDigits = true;
            if (!inFraction) {
                s.minIntDigits += c == u'0' ? 1 : 0;
            } else {
                ++s.maxFracDigits;
                if (c == u'0') s.minFracDigits = s.maxFracDigits;
            }
        } else {
            (started ? s.suffix : s.prefix) += c;
        }
    }
    return s;
}

// The decimal digits of a non-negative value rounded to a number of decimals.
struct Digits {
    QString integer;  // without leading zeros, empty for zero
    QString fraction; // exactly `decimals` long
    bool isZero() const { return integer.isEmpty() && fraction.count(u'0') == fraction.size(); }
};

Digits RoundedDigits(double value, int decimals) {
    // Fifteen significant digits are exact for any double, so 2.675 rounds up as a
    // person expects instead of down as its binary neighbour would.
    const QString e = QString::number(value, 'e', 14); // d.dddddddddddddde+XX
    const QString mantissa = e.left(1) + e.mid(2, 14);
    const int pointPos = e.mid(e.indexOf(u'e') + 1).toInt() + 1;

    QString all; // the digits, with the decimal point after `intLen` of them
    int intLen = 0;
    if (pointPos <= 0) {
        all = QString(-pointPos, u'0') + mantissa;
    } else if (pointPos >= mantissa.size()) {
        all = mantissa + QString(pointPos - mantissa.size(), u'0');
        intLen = pointPos;
    } else {
        all = mantissa;
        intLen = pointPos;
    }
    all += QString(qMax(0, decimals - (all.size() - intLen)), u'0');

    QString kept = all.left(intLen + decimals);
    if (all.size() > intLen + decimals && all.at(intLen + decimals) >= u'5') {
        int i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == u'9')
            kept[i--] = u'0';
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(u'1');
            ++intLen;
        }
    }
    Digits d;
    d.integer = kept.left(intLen);
    d.fraction = kept.mid(intLen);
    int firstNonZero = 0;
    while (firstNonZero < d.integer.size() && d.integer.at(firstNonZero) == u'0')
        ++firstNonZero;
    d.integer.remove(0, firstNonZero);
    return d;
}

QString Grouped(const QString& digits, QStringView groupSep) {
    QString out;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += groupSep;
        out += digits.at(i);
    }
    return out;
}

QString FormatSection(const Section& s, const Digits& d, QStringView decimalSep,
                      QStringView groupSep) {
    if (!s.hasDigits) return s.prefix + s.suffix;
    QString integer = d.integer;
    if (integer.size() < s.minIntDigits)
        integer.prepend(QString(s.minIntDigits - integer.size(), u'0'));
    if (s.grouping) integer = Grouped(integer, groupSep);
    QString fraction = d.fraction;
    while (fraction.size() > s.minFracDigits && fraction.endsWith(u'0'))
        fraction.chop(1);
    QString out = s.prefix + integer;
    if (!fraction.isEmpty()) out += decimalSep.toString() + fraction;
    return out + s.suffix;
}

QString Plain(double value, QStringView decimalSep) {
    QString text = QString::number(value, 'g', 15);
    text.replace(u'.', decimalSep.toString());
    return text;
}

} // namespace

QString FormatPattern(double value, QStringView pattern, QStringView decimalSep,
                      QStringView groupSep) {
    if (!std::isfinite(value)) value = 0;
    if (pattern.isEmpty()) return Plain(value == 0 ? 0.0 : value, decimalSep);

    const qsizetype semicolon = pattern.indexOf(u';');
    const Section positive = ParseSection(semicolon < 0 ? pattern : pattern.left(semicolon));
    QStringView negativeText;
    if (semicolon >= 0) {
        negativeText = pattern.mid(semicolon + 1);
        negativeText = negativeText.left(negativeText.indexOf(u';')); // -1 keeps it all
    }

    if (value < 0) {
        const bool ownPart = !negativeText.isEmpty();
        const Section s = ownPart ? ParseSection(negativeText) : positive;
        const Digits d = RoundedDigits(-value, s.maxFracDigits);
        if (!d.isZero()) {
            const QString body = FormatSection(s, d, decimalSep, groupSep);
            return ownPart ? body : u'-' + body;
        }
    }
    return FormatSection(positive, RoundedDigits(value < 0 ? 0.0 : value, positive.maxFracDigits),
                         decimalSep, groupSep);
}
