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

bool RecordingDialogs::Confirm(QWidget*, const QString& title, const QString& text, Answer) {
    Record(confirms, title + ": " + text);
    if (onConfirm)
        onConfirm();
    if (confirmAnswers.empty())
        return true;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

QString RecordingDialogs::SaveFile(QWidget*, const QString& caption, const QString&,
                                   const QString& filter, QString* selectedFilter) {
    *selectedFilter = filter.split(";;").value(0);
    if (!saveFilters.empty()) {
        *selectedFilter = saveFilters.front();
        saveFilters.pop_front();
    }
    return AskFile(saveFiles, caption, filter);
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
