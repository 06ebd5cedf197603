// Helpers for driving the window as a user would, and the records a run must
// write, made directly through CenterSearcher and RecordWriter.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "engine/search_types.h"

class QComboBox;

namespace ferolin {
class TForm1;
}

namespace ferolin::test {

// Chooses item `index` as the user does: it becomes current and `activated` fires.
void Pick(QComboBox* combo, int index);

// Answers the save dialog with `fileName` (empty: cancel) and collects the
// message boxes in `errors`; `dialogShown` counts the dialogs.
void AnswerDialogs(TForm1& form, const QString& fileName, QStringList* errors,
                   int* dialogShown = nullptr);

// Processes events until the run has ended; false after `timeoutMs`.
bool WaitForIdle(TForm1& form, int timeoutMs);

QByteArray ReadAll(const QString& path);

// The nice values of this process's threads, from /proc/self/task.
QList<int> ThreadNiceValues();

// The count shown by Label4 ("Found N kyrs"), or -1.
std::int64_t ShownCount(const TForm1& form);

// The 25 values shown in the grid, row by row, as a record's cell fields.
QByteArray GridCells(const TForm1& form);

// The cell fields of the record numbered `count` in `records`, or empty.
QByteArray RecordCells(const QByteArray& records, std::int64_t count);

struct Reference {
  QByteArray records;
  std::int32_t found = 0;
};

// The records of center `center` with `passes` DiagA arrangements over `range`,
// written with one write per record to `scratchFile`; only the first
// `maxSquares` when that is above 0.
Reference ReferenceRun(std::int32_t center, std::int32_t passes, DiagARange range,
                       const QString& scratchFile, std::int64_t maxSquares = 0);

}  // namespace ferolin::test
