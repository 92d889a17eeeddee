#pragma once

#include <QPageSize>
#include <QString>
#include <filesystem>

#include "files/file_result.h"

class QPagedPaintDevice;

namespace halyx {

// Lays the channel sheet's HTML out on the device's pages and paints it: the same code prints
// to a printer, fills a print preview and writes a PDF. Needs a QGuiApplication.
void PaintSheet(const QString& html, QPagedPaintDevice& device);

// Writes the sheet as a PDF with Qt's own writer (fonts embedded), atomically.
FileResult WriteSheetPdf(const QString& html, const std::filesystem::path& path,
                         QPageSize::PageSizeId pageSize);

}  // namespace halyx
