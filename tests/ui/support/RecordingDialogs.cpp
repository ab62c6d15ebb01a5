#include "RecordingDialogs.h"

namespace mlk::test {

void RecordingDialogs::Clear() {
    for (QStringList* kind :
         {&messages, &notices, &confirms, &errors, &fileCaptions, &fileFilters, &all})
        kind->clear();
}

void RecordingDialogs::Record(QStringList& kind, const QString& text) {
    kind << text;
    all << text;
}

bool RecordingDialogs::Confirm(QWidget*, const QString& title, const QString& text) {
    Record(confirms, title + ": " + text);
    if (confirmAnswers.empty())
        return true;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QString RecordingDialogs::AskFile(std::deque<QString>& answers, const QString& caption,
                                  const QString& filter) {
    fileCaptions << caption;
    fileFilters << filter;
    if (answers.empty())
        return {};
    QString name = answers.front();
    answers.pop_front();
    return name;
}

}  // namespace mlk::test
