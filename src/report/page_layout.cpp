#include "report/page_layout.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace hrln::report {
namespace {

constexpr qreal kEpsilon = 0.01;

QString Q(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

struct PageLayout::Lines {
    std::vector<QStringList> cells;
    int cellLines = 1;
    QStringList detail;
    int total() const { return cellLines + static_cast<int>(detail.size()); }
};

// The source's rows around the one asked for, a batch at a time. Going on in
// order reads each batch once.
class PageLayout::Reader {
public:
    explicit Reader(Source& source) : source_(source) {}

    const Row* get(std::int64_t i)
    {
        if (i >= first_ && i < first_ + static_cast<std::int64_t>(rows_.size()))
            return &rows_[static_cast<std::size_t>(i - first_)];
        if (end_ >= 0 && i >= end_)
            return nullptr;
        rows_.clear();
        first_ = i;
        const int n = source_.read(i, kRowBatch, rows_);
        if (n < kRowBatch)
            end_ = i + n;
        return rows_.empty() ? nullptr : &rows_.front();
    }

private:
    Source& source_;
    std::vector<Row> rows_;
    std::int64_t first_ = 0;
    std::int64_t end_ = -1;
};

PageLayout::PageLayout(Source& source, Heading heading)
    : source_(source), heading_(std::move(heading)), columns_(source.columns()),
      grouped_(!source.groupTitle().empty()), fixed_(source.fixedPitch())
{
    QFont sans(QStringLiteral("Sans Serif"), 9);
    sans.setStyleHint(QFont::SansSerif);
    body_ = sans;
    if (fixed_) {
        body_ = QFont(QStringLiteral("Monospace"), 9);
        body_.setStyleHint(QFont::TypeWriter);
        body_.setFixedPitch(true);
    }
    bold_ = body_;
    bold_.setBold(true);
    title_ = sans;
    title_.setPointSize(14);
    title_.setBold(true);
    small_ = sans;
    small_.setPointSize(8);
    small_.setItalic(true);
}

PageLayout::~PageLayout() = default;

qreal PageLayout::advance(const QString& word, const QFontMetricsF& fm) const
{
    // Reports repeat their words (days, types, rules): each is measured once.
    WidthCache& cache = widths_[fm.height()];
    if (const auto found = cache.find(word); found != cache.end())
        return found.value();
    const qreal w = fm.horizontalAdvance(word);
    cache.insert(word, w);
    return w;
}

QStringList PageLayout::wrapText(const QString& text, qreal width, const QFontMetricsF& fm) const
{
    QStringList out;
    const qreal space = advance(QStringLiteral(" "), fm);
    // Widths add up word by word; a line that comes close to the edge is
    // measured whole, so kerning never takes it past the column.
    const auto fits = [&](const QString& line, qreal summed) {
        if (summed > width + kEpsilon)
            return false;
        return summed < width * 0.97 || fm.horizontalAdvance(line) <= width + kEpsilon;
    };
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (QString paragraph : paragraphs) {
        if (paragraph.endsWith(QLatin1Char('\r')))
            paragraph.chop(1);
        QString line;
        qreal lineWidth = 0;
        qsizetype pos = 0;
        for (;;) {
            qsizetype wordStart = pos;
            while (wordStart < paragraph.size() && paragraph.at(wordStart) == QLatin1Char(' '))
                ++wordStart;
            if (wordStart >= paragraph.size())
                break;  // trailing blanks are never printed
            qsizetype wordEnd = paragraph.indexOf(QLatin1Char(' '), wordStart);
            if (wordEnd < 0)
                wordEnd = paragraph.size();
            QString word = paragraph.mid(wordStart, wordEnd - wordStart);
            // Fixed-pitch text keeps its blanks, so its columns stay lined up;
            // elsewhere words are one blank apart. Blanks at a break are dropped.
            const qsizetype blanks = fixed_ ? wordStart - pos : (line.isEmpty() ? 0 : 1);
            const bool indented = fixed_ && pos == 0 && blanks > 0;
            pos = wordEnd;
            qreal wordWidth = advance(word, fm);
            const qreal gap = space * static_cast<qreal>(blanks);
            if (!line.isEmpty() || indented) {
                const QString longer = line + QString(blanks, QLatin1Char(' ')) + word;
                if (fits(longer, lineWidth + gap + wordWidth)) {
                    line = longer;
                    lineWidth += gap + wordWidth;
                    continue;
                }
                if (!line.isEmpty())
                    out << line;
                line.clear();
            }
            // A word wider than the column is broken where the column ends.
            while (wordWidth > width + kEpsilon) {
                qsizetype low = 1;
                qsizetype high = word.size() - 1;
                while (low < high) {
                    const qsizetype mid = (low + high + 1) / 2;
                    if (fm.horizontalAdvance(word.left(mid)) <= width + kEpsilon)
                        low = mid;
                    else
                        high = mid - 1;
                }
                if (low < word.size() && word.at(low).isLowSurrogate())
                    --low;  // never between the halves of one character
                low = std::max<qsizetype>(low, 1);
                out << word.left(low);
                word.remove(0, low);
                wordWidth = fm.horizontalAdvance(word);
            }
            line = word;
            lineWidth = wordWidth;
        }
        out << line;  // an empty line between paragraphs stays
    }
    while (!out.isEmpty() && out.back().isEmpty())
        out.removeLast();
    return out;
}

PageLayout::Lines PageLayout::wrap(const Row& row) const
{
    const QFontMetricsF& fm = *bodyMetrics_;
    Lines lines;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        lines.cells.push_back(i < row.cells.size() ? wrapText(Q(row.cells[i]), width_[i], fm) : QStringList());
        lines.cellLines = std::max(lines.cellLines, static_cast<int>(lines.cells.back().size()));
    }
    if (!row.detail.empty())
        lines.detail = wrapText(Q(row.detail), page_.width() - indent_, fm);
    return lines;
}

int PageLayout::paginate(QPaintDevice& device)
{
    device_ = &device;
    widths_.clear();
    bodyMetrics_.emplace(body_, &device);
    const QFontMetricsF& fm = *bodyMetrics_;
    const QFontMetricsF boldFm(bold_, &device);
    const QFontMetricsF titleFm(title_, &device);
    const QFontMetricsF smallFm(small_, &device);
    page_ = QRectF(0, 0, device.width(), device.height());
    line_ = std::max(fm.lineSpacing(), boldFm.lineSpacing());
    indent_ = fm.horizontalAdvance(QStringLiteral("MMMM"));

    const qreal gap = fm.horizontalAdvance(QStringLiteral("MM"));
    int declared = 0;
    for (const Column& c : columns_)
        declared += std::max(1, c.width);
    const qreal room = page_.width() - gap * static_cast<qreal>(std::max<std::size_t>(1, columns_.size()) - 1);
    x_.clear();
    width_.clear();
    qreal x = 0;
    for (const Column& c : columns_) {
        const qreal w = room * std::max(1, c.width) / std::max(1, declared);
        x_.push_back(x);
        width_.push_back(w);
        x += w + gap;
    }

    criteria_ = wrapText(Q(source_.criteria()), page_.width(), smallFm);
    headers_.clear();
    headerLines_ = 1;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        headers_.push_back(wrapText(Q(columns_[i].title), width_[i], boldFm));
        headerLines_ = std::max(headerLines_, static_cast<int>(headers_.back().size()));
    }
    bodyTop_ = titleFm.lineSpacing() + line_ + static_cast<qreal>(criteria_.size()) * smallFm.lineSpacing() +
               line_ * 0.5 + headerLines_ * line_ + line_ * 0.5;
    bodyBottom_ = page_.height() - line_ * 1.5;

    starts_.clear();
    rows_ = 0;
    reader_ = std::make_unique<Reader>(source_);
    Start start;
    for (;;) {
        starts_.push_back(start);
        Start next;
        if (!place(start, *reader_, nullptr, static_cast<int>(starts_.size()) - 1, next))
            break;
        start = std::move(next);
    }
    return pageCount();
}

void PageLayout::drawFrame(QPainter& painter, int index) const
{
    const QFontMetricsF fm(body_, device_);
    const QFontMetricsF titleFm(title_, device_);
    const QFontMetricsF smallFm(small_, device_);
    qreal y = 0;
    painter.setFont(title_);
    painter.drawText(QPointF(0, y + titleFm.ascent()), Q(source_.name()));
    y += titleFm.lineSpacing();

    painter.setFont(body_);
    if (!heading_.user.empty())
        painter.drawText(QPointF(0, y + fm.ascent()), QStringLiteral("For ") + Q(heading_.user));
    const QString printed = QStringLiteral("Printed ") + Q(heading_.printed);
    painter.drawText(QPointF(page_.width() - fm.horizontalAdvance(printed), y + fm.ascent()), printed);
    y += line_;

    painter.setFont(small_);
    for (const QString& line : criteria_) {
        painter.drawText(QPointF(0, y + smallFm.ascent()), line);
        y += smallFm.lineSpacing();
    }
    y += line_ * 0.25;
    painter.drawLine(QPointF(0, y), QPointF(page_.width(), y));
    y += line_ * 0.25;

    painter.setFont(bold_);
    const QFontMetricsF boldFm(bold_, device_);
    for (int l = 0; l < headerLines_; ++l) {
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (l >= headers_[i].size())
                continue;
            const QString& text = headers_[i][l];
            const qreal at = columns_[i].align == Align::Right ? x_[i] + width_[i] - boldFm.horizontalAdvance(text)
                                                               : x_[i];
            painter.drawText(QPointF(at, y + boldFm.ascent()), text);
        }
        y += line_;
    }
    y += line_ * 0.25;
    painter.drawLine(QPointF(0, y), QPointF(page_.width(), y));

    painter.setFont(body_);
    const QString number = QStringLiteral("Page %1 of %2").arg(index + 1).arg(pageCount());
    painter.drawText(QPointF((page_.width() - fm.horizontalAdvance(number)) / 2, page_.height() - fm.descent()),
                     number);
}

bool PageLayout::place(const Start& start, Reader& reader, QPainter* painter, int index, Start& next)
{
    const QFontMetricsF fm(body_, device_);
    const QFontMetricsF boldFm(bold_, device_);
    if (painter != nullptr)
        drawFrame(*painter, index);

    qreal y = bodyTop_;
    int placed = 0;  // lines on this page
    std::string previous = start.previousGroup;
    bool hasPrevious = start.hasPrevious;
    int line = start.line;
    for (std::int64_t r = start.row;; ++r, line = 0) {
        const Row* row = reader.get(r);
        if (row == nullptr) {
            if (start.row == 0 && placed == 0 && painter != nullptr) {
                painter->setFont(body_);
                painter->drawText(QPointF(0, y + fm.ascent()), QStringLiteral("There is nothing to report."));
            }
            return false;
        }
        if (row->gone)
            continue;
        const Lines lines = wrap(*row);
        const bool newGroup = grouped_ && (!hasPrevious || NewGroup(previous, row->group));
        const bool header = grouped_ && (placed == 0 || newGroup);
        const qreal headerHeight = header ? (placed == 0 ? 0 : line_ * 0.5) + line_ : 0;
        // The cells stay together, and a group's header with its first row.
        const int together = std::max(1, line < lines.cellLines ? lines.cellLines - line : 1);
        if (placed > 0 && y + headerHeight + together * line_ > bodyBottom_ + kEpsilon) {
            next = {r, line, previous, hasPrevious};
            return true;
        }
        if (header) {
            y += headerHeight - line_;
            if (painter != nullptr) {
                QString text = Q(row->group);
                if (!newGroup || line > 0)
                    text += QStringLiteral(" (continued)");
                painter->setFont(bold_);
                painter->drawText(QPointF(0, y + boldFm.ascent()), text);
            }
            y += line_;
        }
        if (line == 0 && painter == nullptr)
            ++rows_;
        if (painter != nullptr)
            painter->setFont(body_);
        for (int k = line; k < lines.total(); ++k) {
            if (placed > 0 && y + line_ > bodyBottom_ + kEpsilon) {
                next = {r, k, previous, hasPrevious};
                return true;
            }
            if (painter != nullptr) {
                if (k < lines.cellLines) {
                    for (std::size_t i = 0; i < columns_.size(); ++i) {
                        if (k >= lines.cells[i].size())
                            continue;
                        const QString& text = lines.cells[i][k];
                        const qreal at = columns_[i].align == Align::Right
                                             ? x_[i] + width_[i] - fm.horizontalAdvance(text)
                                             : x_[i];
                        painter->drawText(QPointF(at, y + fm.ascent()), text);
                    }
                } else {
                    painter->drawText(QPointF(indent_, y + fm.ascent()), lines.detail[k - lines.cellLines]);
                }
            }
            y += line_;
            ++placed;
        }
        previous = row->group;
        hasPrevious = true;
    }
}

void PageLayout::drawPage(QPainter& painter, int index)
{
    if (index < 0 || index >= pageCount())
        return;
    Start next;
    place(starts_[static_cast<std::size_t>(index)], *reader_, &painter, index, next);
}

bool RenderReport(Source& source, const Heading& heading, QPagedPaintDevice& device, int from, int to)
{
    PageLayout layout(source, heading);
    const int pages = layout.paginate(device);
    from = from < 1 ? 1 : std::min(from, pages);
    to = to < 1 || to > pages ? pages : std::max(to, from);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = from - 1; i < to; ++i) {
        if (i > from - 1 && !device.newPage())
            return false;
        layout.drawPage(painter, i);
    }
    return painter.end();
}

namespace {

bool WritePdf(Source& source, const Heading& heading, QPdfWriter& writer)
{
    const bool metric = QLocale().measurementSystem() == QLocale::MetricSystem;
    writer.setPageSize(QPageSize(metric ? QPageSize::A4 : QPageSize::Letter));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(Q(source.name()));
    writer.setCreator(QStringLiteral("Horalyn"));
    return RenderReport(source, heading, writer);
}

}  // namespace

bool WriteReportPdf(Source& source, const Heading& heading, const QString& path)
{
    QPdfWriter writer(path);
    return WritePdf(source, heading, writer);
}

bool WriteReportPdf(Source& source, const Heading& heading, QIODevice& device)
{
    QPdfWriter writer(&device);
    return WritePdf(source, heading, writer);
}

}  // namespace hrln::report
