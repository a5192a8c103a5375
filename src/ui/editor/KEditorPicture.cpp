#include "ui/editor/KEditorPicture.h"

#include <cairo.h>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "ui/editor/KHalvaneEditor.h"

void KWriteEditorPicture(KHalvaneEditor& editor, const KString& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, editor.Width(), editor.Height());
    cairo_t* cairo = cairo_create(surface);
    editor.Refresh();
    editor.OnPaint(cairo);
    cairo_destroy(cairo);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.ToUTF8().c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) throw KException(KFormatter("Cannot write the picture \"{0}\".") << path);
}
