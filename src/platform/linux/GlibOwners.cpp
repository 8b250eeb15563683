#include "platform/linux/GlibOwners.h"

#include <gio/gio.h>

namespace qv::linuxdesktop::glib {

void Unref::operator()(void *object) const { g_object_unref(object); }

void Free::operator()(void *memory) const { g_free(memory); }

void ErrorFree::operator()(GError *error) const { g_error_free(error); }

void HashTableUnref::operator()(GHashTable *table) const { g_hash_table_unref(table); }

void ObjectArrayFree::operator()(GArray *array) const
{
    for (guint i = 0; i < array->len; ++i)
        g_object_unref(g_array_index(array, gpointer, i));
    g_array_free(array, TRUE);
}

void ArrayFree::operator()(GArray *array) const { g_array_free(array, TRUE); }

void VariantUnref::operator()(GVariant *variant) const { g_variant_unref(variant); }

void SchemaUnref::operator()(GSettingsSchema *schema) const { g_settings_schema_unref(schema); }

void *ref(void *object) { return object ? g_object_ref(object) : nullptr; }

} // namespace qv::linuxdesktop::glib
