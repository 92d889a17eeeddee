#include "interchange/sheet_render.h"

#include <QBuffer>
#include <QFont>
#include <QPdfWriter>
#include <QTextDocument>

#include "files/raw_file.h"

namespace halyx {
namespace {

constexpr qreal kMarginMillimetres = 15;
constexpr int kPdfResolution = 300;

}  // namespace

void PaintSheet(const QString& html, QPagedPaintDevice& device) {
    device.setPageMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
    QTextDocument document;
    // A family with Latin glyphs first; Qt falls back to an installed CJK face for Chinese.
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setHtml(html);
    document.print(&device);
}

FileResult WriteSheetPdf(const QString& html, const std::filesystem::path& path,
                         QPageSize::PageSizeId pageSize) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(pageSize));
        writer.setResolution(kPdfResolution);
        writer.setCreator(QStringLiteral("Halyx"));
        PaintSheet(html, writer);
    }
    return WriteFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace halyx
