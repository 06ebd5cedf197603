// The program's one window: the square on show, the counts and times, the run
// settings, Start and Stop/Continue, and the result lines. It owns the run's
// worker and takes the worker's reports on its own thread.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/form_dialogs.h"
#include "engine/search_types.h"
#include "worker/run_events.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace ferolin {

class TkyrThread;

class TForm1 : public QWidget, private RunEventSink {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Controls, in the designer's order.
  QPushButton* Button1;
  QTableWidget* StringGrid1;
  QLabel* Label1;
  QLabel* Label2;
  QFrame* Panel1;
  QLabel* Label4;
  QPushButton* Button2;
  QComboBox* ComboBox1;
  QComboBox* ComboBox2;
  QLabel* Label3;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  QComboBox* ComboBox3;
  QCheckBox* CheckBox2;
  QLabel* Label8;
  QComboBox* ComboBox4;
  QComboBox* ComboBox5;
  QLabel* Label9;
  QLabel* Label10;
  QPlainTextEdit* Memo1;

  // The save dialog and the message box; a test replaces them.
  ui::FormDialogs Dialogs;

  QDateTime StartTime;
  QDateTime StopTime;
  std::string BackupName;  // where the last run's existing file was moved, if it was
  std::atomic<std::int32_t> DisplayInterval{1000};
  std::atomic<std::int32_t> DiagonalPasses{3};
  // How each run searches: its threads, and the DiagA stretch of every center
  // (the whole table by default; a part of it makes a short run).
  int SearchThreads = 1;
  DiagARange SearchRange{};

  bool Running() const { return SearchThread != nullptr; }

  void Button1Click();  // Start
  void Button2Click();  // Stop / Continue
  void ComboBox1Change();
  void ComboBox2Change();
  void ComboBox3Change();
  void ComboBox4Change();
  void ComboBox5Change();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void RunEventsPending() override;  // worker's thread
  void ScheduleDrain();
  void DrainRunEvents();
  void ShowSquare(const RunEvent& e);
  void EndRun(const RunEvent& e);
  void AbandonRun();
  void SetRunControls(bool running);

  RunEventQueue events_{*this};
  std::vector<RunEvent> drained_;
  QElapsedTimer sinceDrain_;
  std::unique_ptr<TkyrThread> SearchThread;
};

}  // namespace ferolin
