#pragma once

#include "ui/diagramscene.h"

#include <QGraphicsView>

#include <cstdint>
#include <memory>
#include <vector>

class QMenu;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class TExplanations;
class TArgumentationStage;

// What a box's or a step's context menu offers: each opens a move dialog filled in from it.
enum class TDiagramAction : std::uint8_t {
    GiveReason = 0,  // Box: the reason/conclusion dialog with it as the conclusion.
    UseAsReason = 1, // Box: the same dialog with it as the reason.
    Restate = 2,     // Box: the statement dialog with its text.
    BlockStep = 3,   // Step: the exception dialog with the step's reason and conclusion.
};

// The diagram view: the current stage as a laid-out graph. The layout runs on a thread of its
// own from a snapshot, one at a time; when requests come faster than layouts, only the newest
// is laid out and shown. Zoom with Ctrl and the wheel or with zoomIn/zoomOut; fitToWindow shows
// the whole diagram and keeps doing so until the user zooms.
class TDiagramView : public QGraphicsView {
    Q_OBJECT

public:
    explicit TDiagramView(QWidget *parent = nullptr);
    ~TDiagramView() override;

    // Shows the snapshot's diagram once it is laid out. With keepPlaces (after a move) what the
    // diagram shows already keeps its place and only the new finds one.
    void showSnapshot(TDiagramSnapshot snapshot, bool keepPlaces = false);
    void showStage(const TArgumentationStage &stage) { showSnapshot(DiagramSnapshot(stage)); }
    // The layout of the diagram shown; empty while none is.
    const TDiagramLayout &shownLayout() const { return m_shownLayout; }
    // True while a requested diagram is not shown yet.
    bool layingOut() const { return m_worker != nullptr; }
    // The snapshot the view shows, or will show once its layout is done.
    const TDiagramSnapshot &snapshot() const { return *m_shown; }

    // Stops waiting for the running layout: the view says so, and the layout's result is
    // dropped (Graphviz cannot be stopped, so its thread ends on its own).
    void cancelLayout();
    // The busy indicator with its Cancel button, shown while a layout runs longer than
    // BusyDelay milliseconds.
    QWidget *busyIndicator() const { return m_busy; }
    static constexpr int BusyDelay = 200;

    // The key beside the diagram: shown unless hidden here.
    void setKeyShown(bool shown);
    bool keyShown() const { return m_keyShown; }

    void zoomIn();
    void zoomOut();
    void fitToWindow();

    // The context actions of a drawn box or step, in a menu the view owns and refills on every
    // call; null for any other item.
    QMenu *contextMenuFor(const QGraphicsItem *item);
    // The box or step the keyboard is on (Tab and the arrow keys move it; Enter opens its
    // context menu, Escape leaves it), null when none. The view's accessible name and
    // description then are the item's: its text, type and status, and why it has its status.
    QGraphicsItem *currentItem() const;
    void setCurrentItem(QGraphicsItem *item);
    // What a screen reader says of a box or step.
    QString accessibleText(const QGraphicsItem *item) const;

signals:
    // A context action was chosen on the box or step with this index in the snapshot.
    void actionRequested(TDiagramAction action, int index);
    // A box was double-clicked.
    void boxActivated(int box);
    // A requested diagram is on screen.
    void diagramShown();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct TLayoutResult;
    void startLayout();
    void layoutDone(const std::shared_ptr<const TDiagramSnapshot> &snapshot,
                    const std::shared_ptr<TLayoutResult> &result);
    void zoomBy(double factor);
    void fitIfAsked();
    void placeBusyIndicator();
    // The boxes and steps, top to bottom and left to right, as Tab visits them.
    std::vector<QGraphicsItem *> keyboardItems() const;
    // Whether a line joins the two items (a box and a step).
    bool joined(const QGraphicsItem *a, const QGraphicsItem *b) const;
    void moveCurrent(int dx, int dy);

    QGraphicsScene *m_scene = nullptr;
    std::shared_ptr<const TDiagramSnapshot> m_shown;
    std::shared_ptr<const TDiagramSnapshot> m_pending; // Null when none waits.
    bool m_pendingKeepsPlaces = false;
    TDiagramLayout m_shownLayout;
    std::unique_ptr<QThread> m_worker;
    bool m_fit = true;
    bool m_keyShown = true;
    bool m_cancelled = false; // The running layout's result is not wanted.
    QWidget *m_busy = nullptr;
    QTimer *m_busyTimer = nullptr;
    QMenu *m_contextMenu = nullptr;
};
