// The main window's left panel: the CMS summary figures, the EB11 panel and
// the quick buttons.
#pragma once

#include <QWidget>

#include "core/session_context.h"
#include "session/eb11_status.h"

class QLabel;
class QPushButton;
class QFrame;

namespace qx::ui {

class SummaryPanel : public QWidget {
    Q_OBJECT
  public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    void showSummary(const CmsSummary& figures, const QString& regularMonth);
    void showEb11(const Eb11Status& status);

    QString figureText(int index) const;  // 0-3 in the order of CmsSummary
    QString eb11FileText() const;
    QString eb11CheckText() const;
    bool eb11Highlighted() const { return eb11Highlighted_; }

  signals:
    void refreshRequested();
    void eb11Clicked();
    void menuRequested(int group, int item);
    void remoteSupportRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLabel* month_;
    QLabel* figures_[4];
    QFrame* eb11_;
    QLabel* eb11Caption_;
    QLabel* eb11Check_;
    QLabel* eb11File_;
    bool eb11Highlighted_ = false;
};

}  // namespace qx::ui
