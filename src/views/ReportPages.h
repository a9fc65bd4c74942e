#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

// The report's pages: paints line by line down them, starting a page whenever the next line would not fit.
class ReportPages
{
public:
    ReportPages(QPagedPaintDevice& device, QPainter& painter, const QFont& font)
        : m_device(device)
        , m_painter(painter)
        , m_font(font)
        , m_line(QFontMetricsF(font, &device).lineSpacing())
    {
        startPage();
    }

    qreal width() const { return m_device.width(); }
    qreal line() const { return m_line; }
    qreal& y() { return m_y; }
    QPainter& painter() { return m_painter; }

    // Makes room for height below y, on a new page if need be; true when a page was started.
    bool room(qreal height)
    {
        if (m_y + height <= m_device.height() || m_y == 0)
            return false;
        m_device.newPage();
        startPage();
        return true;
    }

    void newPage()
    {
        m_device.newPage();
        startPage();
    }

    // One line of text in [x, x + w), cut short with an ellipsis where it does not fit.
    void text(const QString& text, qreal x, qreal w, Qt::Alignment align = Qt::AlignLeft, bool bold = false)
    {
        QFont font = m_font;
        font.setBold(bold);
        m_painter.setFont(font);
        const QString fitted = QFontMetricsF(font, &m_device).elidedText(text, Qt::ElideMiddle, w);
        m_painter.drawText(QRectF(x, m_y, w, m_line), static_cast<int>(align | Qt::AlignVCenter), fitted);
    }

    // The vehicle's heading, larger and bold.
    void heading(const QString& text)
    {
        QFont font = m_font;
        font.setBold(true);
        font.setPointSizeF(m_font.pointSizeF() * 1.4);
        m_painter.setFont(font);
        const qreal height = QFontMetricsF(font, &m_device).lineSpacing();
        m_painter.drawText(QRectF(0, m_y, width(), height), Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetricsF(font, &m_device).elidedText(text, Qt::ElideMiddle, width()));
        m_y += height + m_line / 2;
    }

    // Text wrapped at word ends across the page's width.
    void paragraph(const QString& text)
    {
        m_painter.setFont(m_font);
        const QRectF area(0, m_y, width(), m_device.height());
        const QRectF used = m_painter.boundingRect(area, Qt::TextWordWrap, text);
        room(used.height());
        m_painter.drawText(QRectF(0, m_y, width(), used.height()), Qt::TextWordWrap, text);
        m_y += used.height();
    }

private:
    void startPage()
    {
        m_painter.fillRect(QRectF(0, 0, m_device.width(), m_device.height()), Qt::white);
        m_painter.setPen(Qt::black);
        m_y = 0;
    }

    QPagedPaintDevice& m_device;
    QPainter& m_painter;
    QFont m_font;
    qreal m_line;
    qreal m_y = 0;
};
