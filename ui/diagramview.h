#pragma once

#include "ui/diagramscene.h"

#include <QGraphicsView>

#include <memory>

class QThread;
class TExplanations;
class TArgumentationStage;

// The diagram view: the current stage as a laid-out graph. The layout runs on a thread of its
// own from a snapshot, one at a time; when requests come faster than layouts, only the newest
// is laid out and shown. Zoom with Ctrl and the wheel or with zoomIn/zoomOut; fitToWindow shows
// the whole diagram and keeps doing so until the user zooms.
class TDiagramView : public QGraphicsView {
    Q_OBJECT

public:
    explicit TDiagramView(QWidget *parent = nullptr);
    ~TDiagramView() override;

    // Takes a snapshot of the stage and shows its diagram once it is laid out; with
    // explanations, each box's tooltip says why its statement has its status.
    void showStage(const TArgumentationStage &stage, const TExplanations *explanations = nullptr);
    // True while a requested diagram is not shown yet.
    bool layingOut() const { return m_worker != nullptr; }
    // The snapshot the view shows, or will show once its layout is done.
    const TDiagramSnapshot &snapshot() const { return *m_shown; }

    void zoomIn();
    void zoomOut();
    void fitToWindow();

signals:
    // A requested diagram is on screen.
    void diagramShown();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct TLayoutResult;
    void startLayout();
    void layoutDone(const std::shared_ptr<const TDiagramSnapshot> &snapshot,
                    const std::shared_ptr<TLayoutResult> &result);
    void zoomBy(double factor);
    void fitIfAsked();

    QGraphicsScene *m_scene = nullptr;
    std::shared_ptr<const TDiagramSnapshot> m_shown;
    std::shared_ptr<const TDiagramSnapshot> m_pending; // Null when none waits.
    std::unique_ptr<QThread> m_worker;
    bool m_fit = true;
};
