#include "ui/app/Dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "platform/FileErrors.h"
#include "ui/app/AppTitle.h"

namespace mlk::ui {
namespace {

// The real modal boxes of the running program.
class RealDialogs final : public Dialogs {
  public:
    void Message(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, ProductTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }

    void Notice(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
        box.exec();
    }

    bool Confirm(QWidget* parent, const QString& title, const QString& text,
                 Answer byDefault) override {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                        parent);
        box.setDefaultButton(byDefault == Answer::Ok ? QMessageBox::Ok : QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    }

    void Error(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, ProductTitle(), text, QMessageBox::Ok, parent);
        box.exec();
    }

    QString OpenFile(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, directory, filter);
    }

    QString SaveFile(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter, QString* selectedFilter) override {
        return QFileDialog::getSaveFileName(parent, caption, directory, filter, selectedFilter);
    }
};

RealDialogs realDialogs;
Dialogs* current = &realDialogs;

}  // namespace

Dialogs& dialogs() {
    return *current;
}

void SetDialogs(Dialogs* replacement) {
    current = replacement ? replacement : &realDialogs;
}

QString AskSaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                    std::initializer_list<FileKind> kinds) {
    QStringList filters;
    for (const FileKind& kind : kinds)
        filters << QString::fromUtf8(kind.filter);
    QString chosen = filters.value(0);
    QString file = dialogs().SaveFile(parent, caption, proposed, filters.join(";;"), &chosen);
    if (file.trimmed().isEmpty())
        return {};
    if (QFileInfo(file).suffix().isEmpty()) {
        const auto at = std::max<qsizetype>(filters.indexOf(chosen), 0);
        file += QString::fromUtf8(std::data(kinds)[at].extension);
    }
    return file;
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& items) {
    QStringList texts;
    texts.reserve(qsizetype(items.size()));
    for (const std::string& item : items)
        texts << Q(item);
    combo->setUpdatesEnabled(false);
    combo->clear();
    combo->addItems(texts);
    combo->setCurrentIndex(texts.isEmpty() ? -1 : 0);
    combo->setUpdatesEnabled(true);
    WidenComboFor(combo, texts);
}

void WidenComboFor(QComboBox* combo, const QStringList& texts) {
    const QFontMetrics metrics = combo->fontMetrics();
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.boundingRect(text).width());
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    const QSize needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                          QSize(widest, metrics.height()), combo);
    if (needed.width() > combo->minimumWidth())
        combo->setMinimumWidth(needed.width());
}

void ShowError(QWidget* parent, const std::exception& error) {
    dialogs().Error(parent, QString::fromStdString(ErrorMessage(error)));
}

}  // namespace mlk::ui
