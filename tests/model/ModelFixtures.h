#pragma once

#include "model/Project.h"
#include "model/StudyProject.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QUuid>

#include <ostream>

namespace qv::test {

inline QDateTime utc(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

inline QUuid uuid(const char *text) { return QUuid::fromString(QLatin1String(text)); }

inline QString bytes(const QByteArray &b) { return QString::fromUtf8(b); }

// The whole file, or nothing when it cannot be read.
inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file, making its folder first; false when that fails.
inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The writing project of the reference file.
inline Project essayOne()
{
    Project p;
    p.id = uuid("3F2504E0-4F89-11D3-9A0C-0305E82C3301");
    p.title = QStringLiteral("Essay 1");
    p.text = QStringLiteral("Line one\nA/B \"q\"");
    p.wpm = 60;
    p.isAI = false;
    p.humanize = true;
    p.grade = QStringLiteral("12");
    p.review = QStringLiteral("medium");
    p.updatedAt = utc(2025, 3, 1, 14, 5, 9);
    return p;
}

// A set with two cards: one reviewed, one never reviewed and full of
// characters that need care in JSON.
inline StudyProject cellsSet()
{
    StudyProject s;
    s.id = uuid("6F9619FF-8B86-D011-B42D-00C04FC964FF");
    s.title = QStringLiteral("Cells");
    s.grade = QStringLiteral("University");
    StudyItem a;
    a.id = uuid("A0B1C2D3-E4F5-4617-8899-AABBCCDDEEFF");
    a.term = QStringLiteral("Mitochondria");
    a.definition = QStringLiteral("Powerhouse of the cell");
    a.correctCount = 3;
    a.incorrectCount = 1;
    a.lastReviewedAt = utc(2025, 2, 28, 23, 59, 59);
    a.isStarred = true;
    StudyItem b;
    b.id = uuid("00000000-0000-4000-8000-000000000001");
    b.term = QString::fromUtf8("say \"hi\" \\ a/b\tx\x01y \xF0\x9F\xA7\xAC");
    b.definition = QStringLiteral("quoted");
    s.items = {a, b};
    s.options.answerDirection = StudyAnswerDirection::definition;
    s.options.grading = StudyGrading::veryLenient;
    s.options.shuffle = false;
    s.options.questionTypes = {StudyQuestionType::trueFalse, StudyQuestionType::written};
    s.updatedAt = utc(2025, 3, 1, 14, 5, 9);
    return s;
}

} // namespace qv::test

namespace qv {

// Readable failure output for the value types.
inline void PrintTo(const Project &p, std::ostream *os)
{
    *os << "Project{" << p.id.toString().toStdString() << ", \"" << p.title.toStdString() << "\", wpm=" << p.wpm
        << ", updatedAt=" << p.updatedAt.toString(Qt::ISODateWithMs).toStdString() << "}";
}

inline void PrintTo(const StudyProject &s, std::ostream *os)
{
    *os << "StudyProject{" << s.id.toString().toStdString() << ", \"" << s.title.toStdString()
        << "\", items=" << s.items.size() << ", updatedAt=" << s.updatedAt.toString(Qt::ISODateWithMs).toStdString()
        << "}";
}

} // namespace qv
