#pragma once

// Owners for what GLib and AT-SPI hand over to us: each frees its object
// once, when it goes, so no path through the backend frees one by hand.
// The header names no GLib type beyond these declarations, so it can sit
// next to Qt's headers.
#include <memory>

typedef struct _GError GError;
typedef struct _GArray GArray;
typedef struct _GHashTable GHashTable;
typedef struct _GVariant GVariant;
typedef struct _GSettingsSchema GSettingsSchema;

namespace qv::linuxdesktop {

namespace glib {

struct Unref {
    void operator()(void *object) const; // g_object_unref
};
struct Free {
    void operator()(void *memory) const; // g_free
};
struct ErrorFree {
    void operator()(GError *error) const;
};
struct HashTableUnref {
    void operator()(GHashTable *table) const;
};
// An array of object references (a relation set, a match list): each
// reference and the array itself.
struct ObjectArrayFree {
    void operator()(GArray *array) const;
};
struct ArrayFree {
    void operator()(GArray *array) const;
};
struct VariantUnref {
    void operator()(GVariant *variant) const;
};
struct SchemaUnref {
    void operator()(GSettingsSchema *schema) const;
};

// A new reference to a GObject (null stays null).
void *ref(void *object);

} // namespace glib

// A reference to a GObject: an accessible, one of its interfaces, a bus.
template <typename T>
using Owned = std::unique_ptr<T, glib::Unref>;
// Memory from g_malloc: a string, a range, a rectangle.
template <typename T>
using Allocated = std::unique_ptr<T, glib::Free>;
using OwnedString = Allocated<char>;
using OwnedError = std::unique_ptr<GError, glib::ErrorFree>;
using OwnedHashTable = std::unique_ptr<GHashTable, glib::HashTableUnref>;
using OwnedArray = std::unique_ptr<GArray, glib::ArrayFree>;
using OwnedObjectArray = std::unique_ptr<GArray, glib::ObjectArrayFree>;
using OwnedVariant = std::unique_ptr<GVariant, glib::VariantUnref>;
using OwnedSchema = std::unique_ptr<GSettingsSchema, glib::SchemaUnref>;

// One more reference to `object`, owned.
template <typename T>
Owned<T> ref(T *object)
{
    return Owned<T>(static_cast<T *>(glib::ref(object)));
}

// Where a call reports its error; the error goes with the slot.
class ErrorSlot {
public:
    ErrorSlot() = default;
    ErrorSlot(const ErrorSlot &) = delete;
    ErrorSlot &operator=(const ErrorSlot &) = delete;
    ~ErrorSlot() { const OwnedError owned(m_error); }

    GError **out() { return &m_error; }
    const GError *get() const { return m_error; }
    explicit operator bool() const { return m_error != nullptr; }

private:
    GError *m_error = nullptr;
};

} // namespace qv::linuxdesktop
