#include "ui/diagramview.h"

#include <QGraphicsScene>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double ZoomStep = 1.25;
constexpr double SmallestScale = 0.02;
constexpr double LargestScale = 8.0;

} // namespace

struct TDiagramView::TLayoutResult {
    TDiagramLayout layout;
    QString failure;
};

TDiagramView::TDiagramView(QWidget *parent)
    : QGraphicsView(parent)
    , m_scene(new QGraphicsScene(this))
    , m_shown(std::make_shared<TDiagramSnapshot>())
{
    setObjectName(QStringLiteral("DiagramView"));
    setAccessibleName(QStringLiteral("Diagram"));
    setAccessibleDescription(
        QStringLiteral("The current stage as a graph; Ctrl+plus and Ctrl+minus zoom, Ctrl+0 fits"));
    setScene(m_scene);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                   | QPainter::SmoothPixmapTransform);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setBackgroundBrush(Qt::white);
    setFocusPolicy(Qt::StrongFocus);
}

TDiagramView::~TDiagramView()
{
    // The thread holds only its snapshot and result, but must not outlive the window.
    if (m_worker)
        m_worker->wait();
}

void TDiagramView::showStage(const TArgumentationStage &stage, const TExplanations *explanations)
{
    m_pending = std::make_shared<const TDiagramSnapshot>(DiagramSnapshot(stage, explanations));
    if (!m_worker)
        startLayout();
}

void TDiagramView::startLayout()
{
    std::shared_ptr<const TDiagramSnapshot> snapshot = std::move(m_pending);
    m_pending.reset();
    auto result = std::make_shared<TLayoutResult>();
    m_worker.reset(QThread::create([snapshot, result] {
        try {
            result->layout = LayoutDiagram(snapshot->dot, DiagramTextMeasure());
        } catch (const std::exception &error) {
            result->failure = QString::fromUtf8(error.what());
        }
    }));
    connect(m_worker.get(), &QThread::finished, this,
            [this, snapshot, result] { layoutDone(snapshot, result); });
    m_worker->start();
}

void TDiagramView::layoutDone(const std::shared_ptr<const TDiagramSnapshot> &snapshot,
                              const std::shared_ptr<TLayoutResult> &result)
{
    m_worker->wait();
    m_worker.reset();
    // A newer stage waits: this one is out of date already.
    if (m_pending) {
        startLayout();
        return;
    }
    m_shown = snapshot;
    if (result->failure.isEmpty())
        DrawDiagram(*m_scene, *snapshot, result->layout);
    else
        DrawDiagramFailure(*m_scene,
                           QStringLiteral("The diagram cannot be drawn: ") + result->failure);
    fitIfAsked();
    emit diagramShown();
}

void TDiagramView::zoomBy(double factor)
{
    m_fit = false;
    const double scale = transform().m11();
    const double wanted = std::clamp(scale * factor, SmallestScale, LargestScale);
    QGraphicsView::scale(wanted / scale, wanted / scale);
}

void TDiagramView::zoomIn() { zoomBy(ZoomStep); }
void TDiagramView::zoomOut() { zoomBy(1 / ZoomStep); }

void TDiagramView::fitToWindow()
{
    m_fit = true;
    fitIfAsked();
}

void TDiagramView::fitIfAsked()
{
    if (!m_fit)
        return;
    const QRectF rect = m_scene->sceneRect();
    resetTransform();
    if (rect.isEmpty())
        return;
    // Whole, but never larger than life: a small diagram stays readable at its own size.
    const QSizeF room = viewport()->size();
    const double scale = std::clamp(
        std::min(room.width() / rect.width(), room.height() / rect.height()), SmallestScale, 1.0);
    QGraphicsView::scale(scale, scale);
    centerOn(rect.center());
}

void TDiagramView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    if (steps != 0)
        zoomBy(std::pow(ZoomStep, steps / 120.0));
    event->accept();
}

void TDiagramView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    fitIfAsked();
}
