#include "ui/diagramview.h"

#include "ui/utf8.h"

#include <QFrame>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGraphicsItem>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double ZoomStep = 1.25;
constexpr double SmallestScale = 0.02;
constexpr double LargestScale = 8.0;
const QString ViewDescription = QStringLiteral(
    "The current stage as a graph; Tab and the arrow keys go to its boxes and steps, Enter "
    "opens their actions; Ctrl+plus and Ctrl+minus zoom, Ctrl+0 fits");

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
    setAccessibleDescription(ViewDescription);
    setScene(m_scene);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                   | QPainter::SmoothPixmapTransform);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setBackgroundBrush(Qt::white);
    setFocusPolicy(Qt::StrongFocus);

    auto *busy = new QFrame(this);
    busy->setObjectName(QStringLiteral("DiagramBusy"));
    busy->setAutoFillBackground(true);
    busy->setFrameShape(QFrame::StyledPanel);
    m_busy = busy;
    auto *layout = new QHBoxLayout(m_busy);
    auto *label = new QLabel(QStringLiteral("Laying out the diagram..."), m_busy);
    auto *bar = new QProgressBar(m_busy);
    bar->setRange(0, 0); // Graphviz reports no progress: a busy bar.
    bar->setAccessibleName(QStringLiteral("Laying out the diagram"));
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), m_busy);
    cancel->setObjectName(QStringLiteral("DiagramCancelButton"));
    layout->addWidget(label);
    layout->addWidget(bar);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, &TDiagramView::cancelLayout);
    m_busy->hide();
    m_busyTimer = new QTimer(this);
    m_busyTimer->setSingleShot(true);
    m_busyTimer->setInterval(BusyDelay);
    connect(m_busyTimer, &QTimer::timeout, this, [this] {
        if (!layingOut())
            return;
        placeBusyIndicator();
        m_busy->show();
        m_busy->raise();
    });
}

void TDiagramView::placeBusyIndicator()
{
    m_busy->adjustSize();
    const QSize size = m_busy->sizeHint();
    m_busy->setGeometry((width() - size.width()) / 2, (height() - size.height()) / 2,
                        size.width(), size.height());
}

void TDiagramView::cancelLayout()
{
    if (!layingOut())
        return;
    m_cancelled = true;
    m_pending.reset();
    m_shownLayout = {};
    m_busyTimer->stop();
    m_busy->hide();
    DrawDiagramFailure(*m_scene, QStringLiteral("The diagram's layout was cancelled"));
    fitIfAsked();
}

TDiagramView::~TDiagramView()
{
    // The thread holds only its snapshot and result, but must not outlive the window.
    if (m_worker)
        m_worker->wait();
}

void TDiagramView::showSnapshot(TDiagramSnapshot snapshot, bool keepPlaces)
{
    // Requests coming faster than layouts keep places only when each of them would.
    m_pendingKeepsPlaces = keepPlaces && (m_pending == nullptr || m_pendingKeepsPlaces);
    m_pending = std::make_shared<const TDiagramSnapshot>(std::move(snapshot));
    if (!m_worker)
        startLayout();
}

void TDiagramView::startLayout()
{
    std::shared_ptr<const TDiagramSnapshot> snapshot = std::move(m_pending);
    m_pending.reset();
    m_cancelled = false;
    if (!m_busyTimer->isActive() && !m_busy->isVisible())
        m_busyTimer->start();
    auto result = std::make_shared<TLayoutResult>();
    TKeptLayout kept;
    if (m_pendingKeepsPlaces && !m_shownLayout.nodes.empty())
        kept = KeptLayout(*m_shown, m_shownLayout, *snapshot);
    m_pendingKeepsPlaces = false;
    m_worker.reset(QThread::create([snapshot, result, kept = std::move(kept)] {
        try {
            result->layout = LayoutDiagramKeeping(snapshot->dot, DiagramTextMeasure(), kept);
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
    m_busyTimer->stop();
    m_busy->hide();
    if (m_cancelled)
        return;
    m_shown = snapshot;
    m_shownLayout = result->failure.isEmpty() ? std::move(result->layout) : TDiagramLayout();
    setCurrentItem(nullptr); // Its item goes with the old drawing.
    if (result->failure.isEmpty()) {
        DrawDiagram(*m_scene, *snapshot, m_shownLayout);
        ShowDiagramKey(*m_scene, m_keyShown);
    } else
        DrawDiagramFailure(*m_scene,
                           QStringLiteral("The diagram cannot be drawn: ") + result->failure);
    fitIfAsked();
    emit diagramShown();
}

namespace {

// The box or step an item belongs to, drawn as one item with perhaps parts of its own.
const QGraphicsItem *actionable(const QGraphicsItem *item)
{
    for (; item; item = item->parentItem()) {
        const int kind = item->data(DiagramItemKind).toInt();
        if (kind == static_cast<int>(TDiagramItem::Box)
            || kind == static_cast<int>(TDiagramItem::Step))
            return item;
    }
    return nullptr;
}

} // namespace

QMenu *TDiagramView::contextMenuFor(const QGraphicsItem *item)
{
    item = actionable(item);
    if (!item)
        return nullptr;
    if (!m_contextMenu) {
        m_contextMenu = new QMenu(this);
        m_contextMenu->setObjectName(QStringLiteral("DiagramContextMenu"));
    }
    m_contextMenu->clear();
    const int index = item->data(DiagramItemIndex).toInt();
    const auto offer = [&](const QString &caption, TDiagramAction action) {
        connect(m_contextMenu->addAction(caption), &QAction::triggered, this,
                [this, action, index] { emit actionRequested(action, index); });
    };
    if (item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Box)) {
        offer(QStringLiteral("&Give a reason for this..."), TDiagramAction::GiveReason);
        offer(QStringLiteral("&Use as a reason for..."), TDiagramAction::UseAsReason);
        offer(QStringLiteral("&Restate..."), TDiagramAction::Restate);
    } else {
        offer(QStringLiteral("&Block this step..."), TDiagramAction::BlockStep);
    }
    return m_contextMenu;
}

void TDiagramView::contextMenuEvent(QContextMenuEvent *event)
{
    // From the keyboard (the Menu key, Shift+F10) the menu is the selected item's.
    const bool byKeyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    const QGraphicsItem *item = byKeyboard ? (selected.isEmpty() ? nullptr : selected.first())
                                           : itemAt(event->pos());
    QMenu *menu = contextMenuFor(item);
    if (!menu) {
        QGraphicsView::contextMenuEvent(event);
        return;
    }
    const QPoint at = byKeyboard
                          ? viewport()->mapToGlobal(mapFromScene(actionable(item)->sceneBoundingRect().center()))
                          : event->globalPos();
    menu->popup(at);
    event->accept();
}

void TDiagramView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QGraphicsItem *item = actionable(itemAt(event->pos()));
    if (item && item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Box)) {
        emit boxActivated(item->data(DiagramItemIndex).toInt());
        event->accept();
        return;
    }
    QGraphicsView::mouseDoubleClickEvent(event);
}

std::vector<QGraphicsItem *> TDiagramView::keyboardItems() const
{
    std::vector<QGraphicsItem *> items;
    for (QGraphicsItem *item : m_scene->items()) {
        if (actionable(item) == item)
            items.push_back(item);
    }
    const auto place = [](const QGraphicsItem *item) { return item->sceneBoundingRect().center(); };
    std::sort(items.begin(), items.end(), [&](const QGraphicsItem *a, const QGraphicsItem *b) {
        const QPointF p = place(a);
        const QPointF q = place(b);
        return p.y() != q.y() ? p.y() < q.y() : p.x() < q.x();
    });
    return items;
}

QGraphicsItem *TDiagramView::currentItem() const
{
    const QList<QGraphicsItem *> selected = m_scene->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString TDiagramView::accessibleText(const QGraphicsItem *item) const
{
    const auto index = static_cast<std::size_t>(item->data(DiagramItemIndex).toInt());
    const auto &boxes = m_shown->boxes;
    if (item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Box)) {
        const TDiagramSnapshot::TBox &box = boxes.at(index);
        return QStringLiteral("%1, %2, %3")
            .arg(box.text, qtText(StatementTypeName(box.type)),
                 qtText(JustificationStatusName(box.status)));
    }
    const auto [reason, conclusion] = m_shown->stepBoxes.at(index);
    return QStringLiteral("Step from %1 to %2")
        .arg(boxes.at(static_cast<std::size_t>(reason)).text,
             boxes.at(static_cast<std::size_t>(conclusion)).text);
}

void TDiagramView::setCurrentItem(QGraphicsItem *item)
{
    m_scene->clearSelection();
    if (!item) {
        setAccessibleName(QStringLiteral("Diagram"));
        setAccessibleDescription(ViewDescription);
        return;
    }
    item->setSelected(true);
    ensureVisible(item);
    const bool box = item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Box);
    setAccessibleName(accessibleText(item));
    const int index = item->data(DiagramItemIndex).toInt();
    setAccessibleDescription(box ? m_shown->boxes.at(static_cast<std::size_t>(index)).why
                                 : StepToolTip(*m_shown, index));
}

bool TDiagramView::focusNextPrevChild(bool next)
{
    // Tab goes through the boxes and steps, and past the last one on to the next control.
    const std::vector<QGraphicsItem *> items = keyboardItems();
    const auto at = std::find(items.begin(), items.end(), currentItem());
    if (!items.empty()) {
        if (at == items.end()) {
            setCurrentItem(next ? items.front() : items.back());
            return true;
        }
        if (next ? at + 1 != items.end() : at != items.begin()) {
            setCurrentItem(next ? *(at + 1) : *(at - 1));
            return true;
        }
    }
    setCurrentItem(nullptr);
    return QGraphicsView::focusNextPrevChild(next);
}

bool TDiagramView::joined(const QGraphicsItem *a, const QGraphicsItem *b) const
{
    const auto kind = [](const QGraphicsItem *item) { return item->data(DiagramItemKind).toInt(); };
    const auto index = [](const QGraphicsItem *item) { return item->data(DiagramItemIndex).toInt(); };
    if (kind(a) == kind(b))
        return false;
    const int box = index(kind(a) == static_cast<int>(TDiagramItem::Box) ? a : b);
    const int step = index(kind(a) == static_cast<int>(TDiagramItem::Step) ? a : b);
    const auto [reason, conclusion] = m_shown->stepBoxes.at(static_cast<std::size_t>(step));
    return box == reason || box == conclusion
           || std::find(m_shown->attackEnds.begin(), m_shown->attackEnds.end(),
                        std::pair(box, step))
                  != m_shown->attackEnds.end();
}

void TDiagramView::moveCurrent(int dx, int dy)
{
    QGraphicsItem *from = currentItem();
    const std::vector<QGraphicsItem *> items = keyboardItems();
    if (!from) {
        if (!items.empty())
            setCurrentItem(items.front());
        return;
    }
    // Along a line from the current item if one leads that way, else to the nearest item in the
    // direction; either one whose centre lies ahead more than aside.
    const QPointF origin = from->sceneBoundingRect().center();
    const auto nearest = [&](bool alongLine) {
        QGraphicsItem *best = nullptr;
        double bestDistance = 0;
        for (QGraphicsItem *item : items) {
            const QPointF d = item->sceneBoundingRect().center() - origin;
            const double ahead = d.x() * dx + d.y() * dy;
            const double aside = std::abs(d.x() * dy) + std::abs(d.y() * dx);
            if (item == from || ahead <= 0 || aside > 2 * ahead || (alongLine && !joined(from, item)))
                continue;
            const double distance = ahead + 2 * aside;
            if (!best || distance < bestDistance) {
                best = item;
                bestDistance = distance;
            }
        }
        return best;
    };
    QGraphicsItem *next = nearest(true);
    if (!next)
        next = nearest(false);
    if (next)
        setCurrentItem(next);
}

void TDiagramView::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    switch (plain ? event->key() : 0) {
    case Qt::Key_Left:
        moveCurrent(-1, 0);
        return;
    case Qt::Key_Right:
        moveCurrent(1, 0);
        return;
    case Qt::Key_Up:
        moveCurrent(0, -1);
        return;
    case Qt::Key_Down:
        moveCurrent(0, 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentItem()) {
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
            contextMenuEvent(&menu);
            return;
        }
        break;
    case Qt::Key_Escape:
        if (currentItem()) {
            setCurrentItem(nullptr);
            return;
        }
        break;
    default:
        break;
    }
    QGraphicsView::keyPressEvent(event);
}

void TDiagramView::setKeyShown(bool shown)
{
    m_keyShown = shown;
    ShowDiagramKey(*m_scene, shown);
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
    placeBusyIndicator();
    fitIfAsked();
}
