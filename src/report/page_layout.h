#pragma once

#include "common/report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;
class QIODevice;

namespace hrln::report {

// Lays a report out on pages and draws them: on every page the report's name,
// whom it is for and when it was printed, the column headers, "Page N of M";
// groups under headers of their own, repeated with "(continued)" on a page
// that starts inside a group; every text wrapped inside its column, never cut.
// A row's cells stay together on a page; its detail may run on to the next.
//
// Rows are read from the source a batch at a time, once to count the pages
// and again for each page drawn; only where each page starts is kept.
class PageLayout {
public:
    PageLayout(Source& source, Heading heading);
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    // Lays the rows out for pages of `device`. Gives the number of pages (at
    // least 1: a report without rows says so on its one page).
    int paginate(QPaintDevice& device);
    int pageCount() const { return static_cast<int>(starts_.size()); }
    // Rows placed on the pages by the last paginate().
    std::int64_t rowCount() const { return rows_; }

    // Draws page `index` (0-based) of the last paginate() with `painter`,
    // which paints on a device of the same size.
    void drawPage(QPainter& painter, int index);

    // Where a page starts: its first row, the first line of it shown there,
    // and the group of the row before, to tell a continued group.
    struct Start {
        std::int64_t row = 0;
        int line = 0;
        std::string previousGroup;
        bool hasPrevious = false;
    };

private:
    struct Lines;  // one row's wrapped lines
    struct Metrics;
    class Reader;

    Lines wrap(const Row& row) const;
    QStringList wrapText(const QString& text, qreal width, const QFontMetricsF& fm) const;
    qreal advance(const QString& word, const QFontMetricsF& fm) const;
    // Lays out one page from `start`: draws it when `painter` is given. Gives
    // where the next page starts, or nothing when the rows are done.
    bool place(const Start& start, Reader& reader, QPainter* painter, int index, Start& next);
    void drawFrame(QPainter& painter, int index) const;

    Source& source_;
    Heading heading_;
    QPaintDevice* device_ = nullptr;
    std::optional<QFontMetricsF> bodyMetrics_;
    using WidthCache = QHash<QString, qreal>;
    mutable std::map<qreal, WidthCache> widths_;  // by the font's height
    std::unique_ptr<Reader> reader_;
    std::vector<Column> columns_;
    bool grouped_ = false;
    bool fixed_ = false;  // the source's fixedPitch()
    QFont body_;
    QFont bold_;
    QFont title_;
    QFont small_;
    // In device pixels, measured by paginate().
    QRectF page_;
    qreal line_ = 0;
    qreal bodyTop_ = 0;
    qreal bodyBottom_ = 0;
    qreal indent_ = 0;
    std::vector<qreal> x_;      // left edge of each column
    std::vector<qreal> width_;  // usable width of each column
    QStringList criteria_;
    std::vector<QStringList> headers_;
    int headerLines_ = 1;
    std::vector<Start> starts_;
    std::int64_t rows_ = 0;
};

// Draws every page of the report on `device` (pages `from` to `to`, counted
// from 1, when given). False when the device could not be painted on.
bool RenderReport(Source& source, const Heading& heading, QPagedPaintDevice& device, int from = 0, int to = 0);

// Writes the report as a PDF file on A4 or Letter paper as the locale has it.
// False when the file could not be written.
bool WriteReportPdf(Source& source, const Heading& heading, const QString& path);
// The same onto an open device.
bool WriteReportPdf(Source& source, const Heading& heading, QIODevice& device);

}  // namespace hrln::report
