#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/app/Dialogs.h"

namespace mlk::test {

// Replaces the real dialogs for as long as it lives: records every text shown, answers the
// questions from a queue (OK when the queue is empty) and returns queued file names (empty,
// i.e. cancelled, when none is queued).
class RecordingDialogs final : public ui::Dialogs {
  public:
    RecordingDialogs() { ui::SetDialogs(this); }
    ~RecordingDialogs() override { ui::SetDialogs(nullptr); }
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    // What was shown, in order.
    QStringList messages;      // plain message boxes
    QStringList notices;       // "title: text"
    QStringList confirms;      // "title: text"
    QStringList errors;        // standard error boxes
    QStringList fileCaptions;  // captions of the file dialogs asked for
    QStringList fileFilters;   // and their filters
    QStringList all;           // every text of every kind, for a quick look in a failing test

    // Answers for the coming questions and file dialogs, taken from the front.
    std::deque<bool> confirmAnswers;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    std::deque<QString> saveFilters;
    // Runs as each question is answered, as another program might act meanwhile.
    std::function<void()> onConfirm;

    // The last plain message, empty when there was none.
    QString LastMessage() const { return messages.isEmpty() ? QString() : messages.last(); }
    void Clear();

    void Message(QWidget*, const QString& text) override { Record(messages, text); }
    void Notice(QWidget*, const QString& title, const QString& text) override {
        Record(notices, title + ": " + text);
    }
    bool Confirm(QWidget*, const QString& title, const QString& text, Answer) override;
    void Error(QWidget*, const QString& text) override { Record(errors, text); }
    QString OpenFile(QWidget*, const QString& caption, const QString&,
                     const QString& filter) override {
        return AskFile(openFiles, caption, filter);
    }
    // The filter chosen is the one queued in saveFilters, else the first offered.
    QString SaveFile(QWidget*, const QString& caption, const QString&, const QString& filter,
                     QString* selectedFilter) override;

  private:
    void Record(QStringList& kind, const QString& text);
    QString AskFile(std::deque<QString>& answers, const QString& caption, const QString& filter);
};

}  // namespace mlk::test
