#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace mlk::ui {

// The user guide: its contents at the left, the text at the right, a search box above that marks
// every place a word stands and goes from one to the next. It is not modal, so the guide stays
// open beside the window it explains.
class THelpForm final : public QDialog {
    Q_OBJECT

  public:
    explicit THelpForm(QWidget* parent = nullptr);

    // Opens the guide over the window (one guide at a time: an open one comes to the front), at
    // the section that explains that window, or at the start for any other.
    static THelpForm* ShowFor(QWidget* window);
    // The section a window's help starts at: its heading, empty for none.
    static QString SectionFor(const QWidget* window);

    // Scrolls to the section with this heading; false when there is none.
    bool ShowSection(const QString& heading);
    // The heading of the section the text is at.
    QString CurrentSection() const;
    // Marks every place the text stands and moves to the next one after the cursor, from the
    // start again after the last; the number of places.
    int Find(const QString& text);

  private:
    void BuildContents();
    void EDSearchChanged();

    QLineEdit* EDSearch;
    QLabel* LBFound;
    QTreeWidget* tvContents;
    QTextBrowser* text_;
};

}  // namespace mlk::ui
