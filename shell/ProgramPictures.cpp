#include "ProgramPictures.h"

#include "resource_ids.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

void Wave(QPainter& p, QRectF r, QColor colour, double cycles)
{
    QPainterPath path;
    for (int i = 0; i <= 100; ++i) {
        const double x = r.left() + r.width() * i / 100.0;
        const double env = std::sin(M_PI * i / 100.0);
        const double y = r.center().y() + 0.45 * r.height() * env * std::sin(cycles * 2 * M_PI * i / 100.0);
        i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
    }
    p.setPen(QPen(colour, std::max(1.0, r.height() / 20)));
    p.drawPath(path);
}

void Bars(QPainter& p, QRectF r, int n, QColor colour)
{
    for (int i = 0; i < n; ++i) {
        const double h = r.height() * (0.2 + 0.8 * std::fabs(std::sin(i * 1.7 + 0.4)) * std::exp(-i * 0.08));
        p.fillRect(QRectF(r.left() + i * r.width() / n, r.bottom() - h, r.width() / n * 0.7, h), colour);
    }
}

void Staff(QPainter& p, QRectF r)
{
    p.setPen(QPen(Qt::black, 1));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(r.left(), r.top() + r.height() * (0.2 + 0.15 * i)),
                   QPointF(r.right(), r.top() + r.height() * (0.2 + 0.15 * i)));
    p.setBrush(Qt::black);
    const double d = r.height() * 0.13;
    for (int i = 0; i < 4; ++i) {
        const QPointF c(r.left() + r.width() * (0.2 + 0.2 * i), r.top() + r.height() * (0.65 - 0.075 * i));
        p.drawEllipse(c, d * 0.65, d * 0.5);
        p.drawLine(c + QPointF(d * 0.6, 0), c + QPointF(d * 0.6, -r.height() * 0.4));
    }
}

void Attractor(QPainter& p, QRectF r)
{
    QPainterPath path;
    double x = 0.1, y = 0.0, z = 0.0;
    for (int i = 0; i < 1500; ++i) {
        const double dt = 0.01;
        const double dx = 10 * (y - x), dy = x * (28 - z) - y, dz = x * y - 8.0 / 3 * z;
        x += dx * dt, y += dy * dt, z += dz * dt;
        const QPointF pt(r.center().x() + x / 45 * r.width(), r.bottom() - z / 55 * r.height());
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    p.setPen(QPen(QColor(30, 90, 200), 1));
    p.drawPath(path);
}

void Sonogram(QPainter& p, QRectF r)
{
    const int cols = 24, rows = 12;
    for (int c = 0; c < cols; ++c)
        for (int k = 0; k < rows; ++k) {
            const double v = std::fabs(std::sin(c * 0.4 + k * 0.9)) * std::exp(-k * 0.15);
            p.fillRect(QRectF(r.left() + c * r.width() / cols, r.bottom() - (k + 1) * r.height() / rows,
                              r.width() / cols + 1, r.height() / rows + 1),
                       QColor::fromHsvF(0.66 * (1 - v), 1.0, 0.3 + 0.7 * v));
        }
}

void Landscape(QPainter& p, QRectF r)
{
    for (int row = 0; row < 8; ++row) {
        QPainterPath path;
        const double y0 = r.top() + r.height() * (0.35 + row * 0.08);
        const double x0 = r.left() + row * r.width() * 0.03;
        for (int i = 0; i <= 40; ++i) {
            const double x = x0 + (r.width() * 0.75) * i / 40.0;
            const double y = y0 - r.height() * 0.3 * std::exp(-std::pow((i - 12 - row) / 4.0, 2)) -
                             r.height() * 0.15 * std::exp(-std::pow((i - 28) / 3.0, 2));
            i == 0 ? path.moveTo(x, y) : path.lineTo(x, y);
        }
        p.setPen(QPen(QColor::fromHsvF(0.08 * row, 0.9, 0.95), std::max(1.5, r.height() / 40)));
        p.drawPath(path);
    }
}

void Frame(QPainter& p, QRectF r, QColor background)
{
    p.fillRect(r, background);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

QPixmap ProgramPicture(int nBitmap, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    const QRectF inner = r.adjusted(r.width() * 0.08, r.height() * 0.1, -r.width() * 0.08, -r.height() * 0.1);
    switch (nBitmap) {
    case Res::kBmpProgram: {
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(20, 40, 110));
        g.setColorAt(1, QColor(60, 140, 200));
        p.setBrush(g);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(r, r.width() * 0.12, r.width() * 0.12);
        Bars(p, QRectF(inner.left(), inner.center().y(), inner.width(), inner.height() / 2), 12,
             QColor(255, 200, 60));
        Wave(p, QRectF(inner.left(), inner.top(), inner.width(), inner.height() / 2), Qt::white, 5);
        break;
    }
    case Res::kBmpStandard:
        Frame(p, r, Qt::white);
        Wave(p, QRectF(inner.left(), inner.top(), inner.width(), inner.height() * 0.4), QColor(0, 120, 0), 6);
        Bars(p, QRectF(inner.left(), inner.top() + inner.height() * 0.5, inner.width(), inner.height() * 0.5), 16,
             QColor(30, 80, 200));
        break;
    case Res::kBmpMusiker:
        Frame(p, r, QColor(255, 252, 235));
        Staff(p, inner);
        break;
    case Res::kBmpAnalytiker:
        Frame(p, r, Qt::white);
        Attractor(p, inner);
        break;
    case Res::kBmpKomplett: {
        Frame(p, r, QColor(235, 235, 235));
        const double w = inner.width() / 2, h = inner.height() / 2;
        Wave(p, QRectF(inner.left(), inner.top(), w, h), QColor(0, 120, 0), 4);
        Bars(p, QRectF(inner.left() + w, inner.top(), w, h), 8, QColor(30, 80, 200));
        Sonogram(p, QRectF(inner.left(), inner.top() + h, w, h));
        Staff(p, QRectF(inner.left() + w, inner.top() + h, w, h));
        break;
    }
    case Res::kBmpOberschule:
        Frame(p, r, Qt::black);
        Sonogram(p, inner);
        break;
    case Res::kBmpGrundschule:
        Frame(p, r, QColor(20, 20, 40));
        Landscape(p, inner);
        break;
    case Res::kBmpSchoolChoice: {
        Frame(p, r, QColor(255, 250, 205));
        p.setPen(QPen(QColor(40, 40, 160), std::max(2.0, r.width() / 12)));
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), std::max(6, size.height() / 2), QFont::Bold));
        p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    default: Frame(p, r, Qt::lightGray); break;
    }
    return pixmap;
}
