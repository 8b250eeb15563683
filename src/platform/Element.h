#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace qv::platform {

// What a backend keeps for one element of another application's interface.
class ElementRef {
public:
    virtual ~ElementRef() = default;
    virtual bool sameElement(const ElementRef &other) const = 0;
    // Process id of the application the element belongs to (0 when unknown).
    virtual qint64 pid() const = 0;
    // A short description for diagnostic lines.
    virtual QString describe() const = 0;
};

// Cheap, copyable, comparable handle of an accessibility element. A null
// handle means "no element".
class Element {
public:
    Element() = default;
    explicit Element(std::shared_ptr<const ElementRef> ref) : m_ref(std::move(ref)) {}

    bool isNull() const { return !m_ref; }
    explicit operator bool() const { return bool(m_ref); }
    const ElementRef *ref() const { return m_ref.get(); }
    qint64 pid() const { return m_ref ? m_ref->pid() : 0; }
    QString describe() const { return m_ref ? m_ref->describe() : QStringLiteral("none"); }

    friend bool operator==(const Element &a, const Element &b);

private:
    std::shared_ptr<const ElementRef> m_ref;
};

// A range of UTF-16 code units of an element's text.
struct TextRange {
    qint64 location = 0;
    qint64 length = 0;
    qint64 end() const { return location + length; }
    friend bool operator==(const TextRange &, const TextRange &) = default;
};

} // namespace qv::platform

Q_DECLARE_METATYPE(qv::platform::Element)
Q_DECLARE_METATYPE(qv::platform::TextRange)
