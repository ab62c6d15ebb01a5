#pragma once

#include <QLayout>
#include <QList>

namespace mlk::ui {

// A row of parts that goes on onto a further line where the room is too narrow for all of them,
// as text wraps; the last part keeps to the right edge, as after a stretch. A window made narrow
// by a small screen keeps every part whole instead of being cut or held wider than the screen.
class WrapRow final : public QLayout {
  public:
    explicit WrapRow(QWidget* parent = nullptr);
    ~WrapRow() override;
    WrapRow(const WrapRow&) = delete;
    WrapRow& operator=(const WrapRow&) = delete;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    // As narrow as the widest part, and as high as the parts one under another, so that the
    // window it is in keeps room for it however narrow it is made.
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // Lays the parts out within a width (placing them when asked); the height they take.
    int Arrange(const QRect& rect, bool place) const;
    int Spacing() const;

    QList<QLayoutItem*> items_;
};

}  // namespace mlk::ui
