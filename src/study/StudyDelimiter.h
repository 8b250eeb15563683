#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qv::study {

// The separator between term and definition in pasted card text: detected per
// line (`Auto`) or one fixed token for the whole text.
enum class StudyDelimiter { Auto, Tab, Comma, Semicolon, Colon, Dash, Pipe };

// Every case in display order.
const QList<StudyDelimiter> &allDelimiters();

// The label shown for a case, and the string it is identified by.
QString rawValue(StudyDelimiter delimiter);
// Exactly the seven labels, case-sensitive and untrimmed; anything else gives none.
std::optional<StudyDelimiter> delimiterFromRawValue(const QString &raw);

// The text that cuts a line; none only for `Auto`.
std::optional<QString> token(StudyDelimiter delimiter);

} // namespace qv::study
