#include "app/ClientArea.h"

#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

namespace veltro {

namespace {

// The logo: a database drum with a chevron over it and the name beside, about 260 x 90.
void drawLogo(QPainter& painter, const QRect& box) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor deep(0x1f, 0x3a, 0x68);
    const QColor light(0x4f, 0x8a, 0xd8);
    const QRectF drum(box.left(), box.top() + 10, 64, 74);
    painter.setPen(QPen(deep, 2));
    painter.setBrush(light);
    painter.drawRect(QRectF(drum.left(), drum.top() + 8, drum.width(), drum.height() - 16));
    painter.drawEllipse(QRectF(drum.left(), drum.bottom() - 16, drum.width(), 16));
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(drum.left() + 1, drum.top() + 8, drum.width() - 2, drum.height() - 17));
    painter.setPen(QPen(deep, 2));
    painter.drawEllipse(QRectF(drum.left(), drum.top(), drum.width(), 16));
    painter.drawLine(drum.topLeft() + QPointF(0, 8), drum.bottomLeft() - QPointF(0, 8));
    painter.drawLine(drum.topRight() + QPointF(0, 8), drum.bottomRight() - QPointF(0, 8));
    QPainterPath chevron;
    chevron.moveTo(drum.left() + 14, drum.top() + 30);
    chevron.lineTo(drum.center().x(), drum.top() + 60);
    chevron.lineTo(drum.right() - 14, drum.top() + 30);
    painter.setPen(QPen(Qt::white, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
    QFont font = painter.font();
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(deep);
    painter.drawText(QRectF(drum.right() + 12, box.top(), box.width() - 76, 58),
                     Qt::AlignLeft | Qt::AlignBottom, "Veltro");
    font.setPixelSize(14);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(light.darker(130));
    painter.drawText(QRectF(drum.right() + 14, box.top() + 60, box.width() - 76, 24),
                     Qt::AlignLeft | Qt::AlignTop, "SQL workbench for ODBC");
}

} // namespace

ClientArea::ClientArea(QWidget* parent) : QMdiArea(parent) {
    setBackground(QColor(0xd9, 0xdf, 0xe8));
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event);
    QPainter painter(viewport());
    const QSize logo(260, 90);
    const QRect client = viewport()->rect();
    // Right edge at a twentieth of the width from the right, bottom at a thirtieth of the
    // height from the bottom.
    const int right = client.width() - client.width() / 20;
    const int bottom = client.height() - client.height() / 30;
    drawLogo(painter, QRect(QPoint(right - logo.width(), bottom - logo.height()), logo));
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    viewport()->update();
}

} // namespace veltro
