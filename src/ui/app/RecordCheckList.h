#pragma once

#include <QListWidget>

class QEvent;

// The pages' list of records with their check marks. At a scale that puts the list's edges
// between screen pixels (150 %), the rows' area, rounded out to whole pixels, would paint
// over the frame's right line: there the rows stop a pixel short of it. At whole scales the
// list is an ordinary one.
class RecordCheckList final : public QListWidget {
    Q_OBJECT
  public:
    explicit RecordCheckList(QWidget* parent = nullptr);

  protected:
    bool event(QEvent* event) override;

  private:
    void FitRowsWithinFrame();
};
