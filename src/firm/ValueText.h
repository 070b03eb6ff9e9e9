#pragma once
// How a value box's text is read and written: the leading number of a text, the
// normal form of an entered value, and the seven-digit text of a subtotal.

#include <QString>
#include <cstdint>
#include <optional>

namespace valuetext {

// The longest leading decimal number of the text, blanks anywhere ignored; 0 when none.
double leadingNumber(const QString& text);

// The leading number's digits as text (sign, digits, point, fraction, exponent); empty when none.
QString leadingNumberText(const QString& text);

// The entered-value normal form: rounded to four decimals (halves to even), "." as the
// point, no trailing fraction zeros, "0" for zero. Nothing beyond ±922,337,203,685,477.5807.
std::optional<QString> normalForm(const QString& text);

// The value of the normal form in ten-thousandths, exactly (nothing out of range as above).
std::optional<int64_t> tenThousandths(const QString& text);

// A single-precision number as the shortest text of at most 7 significant digits:
// plain below 10,000,000, else mantissa, "E", sign and two exponent digits (1.677722E+07).
QString singleText(float value);

// A double as a plain decimal number of up to 15 significant digits ("." as the point).
QString doubleText(double value);

// A stored value as the text that reads back as the same double: doubleText() when its
// 15 digits do, else the shortest text that does. The largest amount a box holds,
// ±922,337,203,685,477.5807, has no double of its own: the nearest lies beyond it and its
// shortest text reads back beyond the range; that double is written as the amount itself,
// which reads back as it.
QString storedText(double value);

// Whether a value text survives being stored: written back by storedText() it has a normal
// form that reads back as the same double. A subtotal beyond the range does not.
bool storable(const QString& text);

// The number a text holds, read as the comparison reads the firm's values: a plain or
// exponent decimal number; anything else is a type mismatch (an untrapped failure).
double toDouble(const QString& text);

} // namespace valuetext
