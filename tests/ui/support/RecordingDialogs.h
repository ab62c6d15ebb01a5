#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "ui/app/Dialogs.h"

namespace mlk::test {

// Replaces the real dialogs for as long as it lives: records every text shown, answers the
// questions from a queue (OK when the queue is empty) and returns queued file names (empty,
// i.e. cancelled, when none is queued).
class RecordingDialogs final : public ui::Dialogs {
  public:
    RecordingDialogs();
    ~RecordingDialogs() override;
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    // What was shown, in order.
    QStringList messages;      // plain message boxes
    QStringList notices;       // "title: text"
    QStringList confirms;      // "title: text"
    QStringList errors;        // standard error boxes
    QStringList fileCaptions;  // captions of the file dialogs asked for
    QStringList fileFilters;   // and their filters

    // Answers for the coming questions and file dialogs, taken from the front.
    std::deque<bool> confirmAnswers;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;

    // Every text of every kind, in order, for a quick look in a failing test.
    QStringList all;

    // The last plain message, empty when there was none.
    QString LastMessage() const { return messages.isEmpty() ? QString() : messages.last(); }
    void Clear();

    void Message(QWidget* parent, const QString& text) override;
    void Notice(QWidget* parent, const QString& title, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& title, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    QString OpenFile(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter) override;
};

}  // namespace mlk::test
