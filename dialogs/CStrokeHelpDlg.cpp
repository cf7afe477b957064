#include "dialogs/CStrokeHelpDlg.h"

#include "dialogs/StrokePicture.h"
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int kPictureSide = 40;
constexpr int kArrowLength = 6;

}  // namespace

CStrokeHelpDlg::CStrokeHelpDlg(const QString& strTitle, const QVector<StrokeHelpEntry>& entries,
                               const QString& strClose, QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(strTitle);
    setModal(true);
    auto* pLayout = new QVBoxLayout(this);
    auto* pGrid = new QGridLayout;
    for (int i = 0; i < entries.size(); ++i) {
        auto* pPicture = new QLabel(this);
        pPicture->setPixmap(QPixmap::fromImage(DrawStroke(entries[i].strDirections, kPictureSide)));
        pPicture->setFrameShape(QFrame::Box);
        auto* pMeaning = new QLabel(entries[i].strMeaning, this);
        pMeaning->setWordWrap(true);
        pGrid->addWidget(pPicture, i, 0);
        pGrid->addWidget(pMeaning, i, 1);
    }
    pGrid->setColumnStretch(1, 1);
    pLayout->addLayout(pGrid);
    pLayout->addStretch();
    auto* pClose = new QPushButton(strClose, this);
    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
    pLayout->addWidget(pClose);
    if (pParent != nullptr)
        setGeometry(QRect(pParent->mapToGlobal(QPoint(0, 0)), pParent->size()));
}

QImage CStrokeHelpDlg::DrawStroke(const QString& strDirections, int nSide)
{
    QImage image(nSide, nSide, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QVector<QPoint> points = StrokePicturePoints(strDirections, nSide);
    if (points.size() < 2)
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points.constData(), static_cast<int>(points.size()));
    // Where the pen goes down: a dot; where it lifts: an arrowhead along the last step.
    painter.setBrush(Qt::black);
    painter.drawEllipse(points.first(), 3, 3);
    const QPointF end = points.last();
    const QPointF back = points[points.size() - 2];
    const qreal rAngle = std::atan2(end.y() - back.y(), end.x() - back.x());
    const qreal rSpread = 0.5;
    const QPointF wing1 = end - QPointF(std::cos(rAngle - rSpread), std::sin(rAngle - rSpread)) * kArrowLength;
    const QPointF wing2 = end - QPointF(std::cos(rAngle + rSpread), std::sin(rAngle + rSpread)) * kArrowLength;
    painter.drawPolygon(QPolygonF({end, wing1, wing2}));
    return image;
}
