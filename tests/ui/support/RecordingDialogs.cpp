#include "RecordingDialogs.h"

namespace mlk::test {

RecordingDialogs::RecordingDialogs() {
    ui::SetDialogs(this);
}

RecordingDialogs::~RecordingDialogs() {
    ui::SetDialogs(nullptr);
}

void RecordingDialogs::Clear() {
    messages.clear();
    notices.clear();
    confirms.clear();
    errors.clear();
    fileCaptions.clear();
    fileFilters.clear();
    all.clear();
}

void RecordingDialogs::Message(QWidget*, const QString& text) {
    messages << text;
    all << text;
}

void RecordingDialogs::Notice(QWidget*, const QString& title, const QString& text) {
    notices << title + ": " + text;
    all << notices.last();
}

bool RecordingDialogs::Confirm(QWidget*, const QString& title, const QString& text) {
    confirms << title + ": " + text;
    all << confirms.last();
    if (confirmAnswers.empty())
        return true;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void RecordingDialogs::Error(QWidget*, const QString& text) {
    errors << text;
    all << text;
}

namespace {

QString Take(std::deque<QString>& queue) {
    if (queue.empty())
        return {};
    QString name = queue.front();
    queue.pop_front();
    return name;
}

}  // namespace

QString RecordingDialogs::OpenFile(QWidget*, const QString& caption, const QString&,
                                   const QString& filter) {
    fileCaptions << caption;
    fileFilters << filter;
    return Take(openFiles);
}

QString RecordingDialogs::SaveFile(QWidget*, const QString& caption, const QString&,
                                   const QString& filter) {
    fileCaptions << caption;
    fileFilters << filter;
    return Take(saveFiles);
}

}  // namespace mlk::test
