#include "model/RecordCoding.h"

#include "model/IsoDate.h"
#include "model/JsonWriter.h"

namespace qv::coding {

namespace {

using namespace Qt::StringLiterals;

// The 36-character hyphenated form with upper-case digits.
QString uuidText(const QUuid &id)
{
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const QByteArray raw = id.toRfc4122();
    QString out(36, Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *p++ = u'-';
        const auto byte = uchar(raw[i]);
        *p++ = kDigits[byte >> 4];
        *p++ = kDigits[byte & 0xF];
    }
    return out;
}

struct EncodeError {
    QString message;
};

void writeDate(JsonWriter &w, const QDateTime &when, const char *key)
{
    const std::optional<QString> text = isodate::format(when);
    if (!text)
        throw EncodeError{QStringLiteral("\"%1\" is not a date that can be written").arg(QLatin1String(key))};
    w.string(*text);
}

// Members go out in ascending key order, which is the files' sorted form.

void writeCard(JsonWriter &w, const StudyItem &card)
{
    w.beginObject();
    w.key("correctCount"_L1);
    w.integer(card.correctCount);
    w.key("definition"_L1);
    w.string(card.definition);
    w.key("id"_L1);
    w.string(uuidText(card.id));
    w.key("incorrectCount"_L1);
    w.integer(card.incorrectCount);
    w.key("isStarred"_L1);
    w.boolean(card.isStarred);
    // A card never reviewed has no key at all, never a null.
    if (card.lastReviewedAt) {
        w.key("lastReviewedAt"_L1);
        writeDate(w, *card.lastReviewedAt, "lastReviewedAt");
    }
    w.key("term"_L1);
    w.string(card.term);
    w.endObject();
}

void writeOptions(JsonWriter &w, const StudyOptions &options)
{
    w.beginObject();
    w.key("answerDirection"_L1);
    w.string(rawValue(options.answerDirection));
    w.key("grading"_L1);
    w.string(rawValue(options.grading));
    w.key("onlyStarred"_L1);
    w.boolean(options.onlyStarred);
    w.key("questionTypes"_L1);
    w.beginArray();
    for (StudyQuestionType type : options.questionTypes)
        w.string(rawValue(type));
    w.endArray();
    w.key("retypeMissed"_L1);
    w.boolean(options.retypeMissed);
    w.key("shuffle"_L1);
    w.boolean(options.shuffle);
    w.endObject();
}

void writeProject(JsonWriter &w, const Project &p)
{
    w.beginObject();
    w.key("grade"_L1);
    w.string(p.grade);
    w.key("humanize"_L1);
    w.boolean(p.humanize);
    w.key("id"_L1);
    w.string(uuidText(p.id));
    w.key("isAI"_L1);
    w.boolean(p.isAI);
    w.key("review"_L1);
    w.string(p.review);
    w.key("text"_L1);
    w.string(p.text);
    w.key("title"_L1);
    w.string(p.title);
    w.key("updatedAt"_L1);
    writeDate(w, p.updatedAt, "updatedAt");
    w.key("wpm"_L1);
    w.integer(p.wpm);
    w.endObject();
}

void writeSet(JsonWriter &w, const StudyProject &s)
{
    w.beginObject();
    w.key("grade"_L1);
    w.string(s.grade);
    w.key("id"_L1);
    w.string(uuidText(s.id));
    w.key("items"_L1);
    w.beginArray();
    for (qsizetype i = 0; i < s.items.size(); ++i) {
        try {
            writeCard(w, s.items[i]);
        } catch (const EncodeError &e) {
            throw EncodeError{QStringLiteral("items[%1]: %2").arg(i).arg(e.message)};
        }
    }
    w.endArray();
    w.key("options"_L1);
    writeOptions(w, s.options);
    w.key("title"_L1);
    w.string(s.title);
    w.key("updatedAt"_L1);
    writeDate(w, s.updatedAt, "updatedAt");
    w.endObject();
}

template <typename Record, typename Writer>
std::optional<QByteArray> encodeList(const QList<Record> &records, Writer writeRecord, QString *error)
{
    JsonWriter w;
    w.beginArray();
    for (qsizetype i = 0; i < records.size(); ++i) {
        try {
            writeRecord(w, records[i]);
        } catch (const EncodeError &e) {
            if (error)
                *error = QStringLiteral("[%1]: %2").arg(i).arg(e.message);
            return std::nullopt;
        }
    }
    w.endArray();
    return w.take();
}

} // namespace

std::optional<QByteArray> encodeProjects(const QList<Project> &projects, QString *error)
{
    return encodeList(projects, writeProject, error);
}

std::optional<QByteArray> encodeStudyProjects(const QList<StudyProject> &sets, QString *error)
{
    return encodeList(sets, writeSet, error);
}

} // namespace qv::coding
