#include "ui/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <thread>

#include "platform/output_file.h"
#include "ui/locale_texts.h"
#include "ui/form_controls.h"
#include "worker/tkyr_thread.h"

namespace ferolin {

namespace {

// Status labels are reset to texts padded to 35 characters.
const QString kFoundPadded = QStringLiteral("Found") + QString(30, QLatin1Char(' '));
const QString kEndPadded = QStringLiteral("End  :") + QString(29, QLatin1Char(' '));
const QString kElapsedPadded = QStringLiteral("Elapsed time") + QString(23, QLatin1Char(' '));

// The window takes the worker's reports at most this often, so that showing
// every square costs the window a bounded amount of work.
constexpr qint64 kDrainGapMs = 20;

QFont WindowFont() {
  const QStringList families = QFontDatabase::families();
  QFont font;
  if (families.contains(QStringLiteral("IPAPGothic")))
    font = QFont(QStringLiteral("IPAPGothic"));
  else if (families.contains(QStringLiteral("IPAGothic")))
    font = QFont(QStringLiteral("IPAGothic"));
  else
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(12);
  return font;
}

QStringList Numbers(int from, int to) {
  QStringList items;
  for (int i = from; i <= to; ++i) items << QString::number(i);
  return items;
}

QString CountText(std::int32_t count) {
  return QStringLiteral("Found %1 kyrs").arg(count);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Dialogs(ui::FormDialogs::Standard()),
      SearchThreads(static_cast<int>(std::max(1u, std::thread::hardware_concurrency()))) {
  using namespace ui;
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Ferolin"));
  setFont(WindowFont());
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(255, 251, 240));
  setPalette(pal);
  setAutoFillBackground(true);
  move(222, 104);
  setFixedSize(156, 417);

  // Creation order: later controls lie above earlier ones.
  Label1 = MakeLabel(this, "Label1", {15, 158}, QStringLiteral("Start:"));
  Label2 = MakeLabel(this, "Label2", {15, 171}, QStringLiteral("End  :"));
  Label4 = MakeLabel(this, "Label4", {7, 142}, QStringLiteral("Found"));
  Label3 = MakeLabel(this, "Label3", {8, 210}, QStringLiteral("From"));
  Label5 = MakeLabel(this, "Label5", {87, 210}, QStringLiteral("To"));
  Label6 = MakeLabel(this, "Label6", {8, 190}, QStringLiteral("Range of Central Value"));
  Label7 = MakeLabel(this, "Label7", {8, 278}, QStringLiteral("Priority"));
  Label8 = MakeLabel(this, "Label8", {117, 278}, QStringLiteral("File"));
  Label9 = MakeLabel(this, "Label9", {8, 234}, QStringLiteral("Count"));
  Label10 = MakeLabel(this, "Label10", {67, 234}, QStringLiteral("Display"));
  Panel1 = MakePanel(this, "Panel1", {14, 32, 128, 105}, QColor(166, 202, 240));
  Button1 = MakeButton(this, "Button1", {14, 7, 57, 18}, QStringLiteral("Start"));
  StringGrid1 = MakeStringGrid(this, "StringGrid1", {26, 45, 105, 80}, 5, 5, 20, 15);
  Button2 = MakeButton(this, "Button2", {80, 7, 57, 18}, QStringLiteral("Stop"));
  ComboBox1 = MakeComboBox(this, "ComboBox1", {39, 206, 38, 20}, Numbers(1, 25), false, 0);
  ComboBox2 = MakeComboBox(this, "ComboBox2", {106, 206, 38, 20}, Numbers(1, 25), false, 0);
  ComboBox3 = MakeComboBox(this, "ComboBox3", {11, 294, 92, 20},
                           {QStringLiteral("+2 (Highest)"), QStringLiteral("+1 (Higher)"),
                            QStringLiteral(" 0 (Normal)"), QStringLiteral("-1 (Lower)"),
                            QStringLiteral("-2 (Lowest)")},
                           false, 2);
  CheckBox2 = MakeCheckBox(this, "CheckBox2", {122, 294, 17, 17});
  ComboBox4 = MakeComboBox(this, "ComboBox4", {12, 250, 45, 20},
                           {QStringLiteral("1/4"), QStringLiteral("ALL")}, true, -1,
                           QStringLiteral("1/4"));
  ComboBox5 = MakeComboBox(this, "ComboBox5", {72, 250, 79, 20},
                           {QStringLiteral("ALL"), QStringLiteral("Every100"),
                            QStringLiteral("Every1000")},
                           true, -1, QStringLiteral("Every1000"));
  Memo1 = MakeMemo(this, "Memo1", {5, 323, 145, 89});

  QWidget* tabOrder[] = {Button1,   StringGrid1, Button2,   ComboBox1, ComboBox2, ComboBox3,
                         CheckBox2, ComboBox4,   ComboBox5, Memo1};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i)
    setTabOrder(tabOrder[i - 1], tabOrder[i]);

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  // activated: only the user's own choices, never an index set by the program.
  connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  connect(ComboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });
  connect(ComboBox3, &QComboBox::activated, this, [this] { ComboBox3Change(); });
  connect(ComboBox4, &QComboBox::activated, this, [this] { ComboBox4Change(); });
  connect(ComboBox5, &QComboBox::activated, this, [this] { ComboBox5Change(); });

  Button1->setEnabled(true);
  Button2->setEnabled(false);
  ComboBox3->setEnabled(false);
}

TForm1::~TForm1() { AbandonRun(); }

void TForm1::closeEvent(QCloseEvent* event) {
  AbandonRun();
  event->accept();
}

void TForm1::SetRunControls(bool running) {
  Button1->setEnabled(!running);
  Button2->setEnabled(running);
  ComboBox1->setEnabled(!running);
  ComboBox2->setEnabled(!running);
  ComboBox3->setEnabled(running);
  ComboBox4->setEnabled(!running);
  CheckBox2->setEnabled(!running);
}

void TForm1::Button1Click() {
  // SearchThread lives until the window has taken the run's last report, so a
  // new run can never overlap one that is still ending.
  if (SearchThread) return;
  int fd = -1;
  BackupName.clear();
  if (CheckBox2->isChecked()) {
    const QString name = Dialogs.askSaveFileName(this);
    if (!name.isEmpty()) {
      const platform::OpenedFile file = platform::OpenOutputFile(QFile::encodeName(name).toStdString());
      if (!file.ok()) {
        Dialogs.showError(this, QStringLiteral("The run was not started: ") +
                                    QString::fromLocal8Bit(file.error.c_str()));
        return;
      }
      fd = file.fd;
      BackupName = file.backupPath;
    }
  }
  if (fd < 0) CheckBox2->setChecked(false);

  SetRunControls(true);
  ui::SetCaption(Label4, kFoundPadded);
  ui::SetCaption(Label2, kEndPadded);
  ui::SetCaption(Label1, QStringLiteral("Start: ") + ui::DateTimeText(QDateTime::currentDateTime()));

  RunSettings settings;
  settings.firstCenter = ComboBox1->currentText().toInt();
  settings.lastCenter = ComboBox2->currentText().toInt();
  settings.outputFd = fd;
  settings.searchThreads = SearchThreads;
  settings.diagARange = SearchRange;
  SearchThread = std::make_unique<TkyrThread>(settings, DisplayInterval, DiagonalPasses, events_);
  StartTime = QDateTime::currentDateTime();
  try {
    SearchThread->Resume();
  } catch (const std::exception& e) {
    SearchThread.reset();  // closes the file it was given
    SetRunControls(false);
    Dialogs.showError(this, QStringLiteral("The search could not be started: ") +
                                QString::fromLocal8Bit(e.what()));
  }
}

void TForm1::Button2Click() {
  if (!SearchThread) return;
  StopTime = QDateTime::currentDateTime();
  ui::SetCaption(Label2, QStringLiteral("Elapsed time  ") +
                             ui::ElapsedSecondsText(StartTime.msecsTo(StopTime)) +
                             QStringLiteral(" sec"));
  if (SearchThread->Suspended()) {
    Button2->setText(QStringLiteral("Stop"));
    SearchThread->Resume();
    ui::SetCaption(Label2, kElapsedPadded);
  } else {
    SearchThread->Suspend();
    Button2->setText(QStringLiteral("Continue"));
  }
}

void TForm1::ComboBox1Change() {
  if (ComboBox2->currentIndex() < ComboBox1->currentIndex())
    ComboBox2->setCurrentIndex(ComboBox1->currentIndex());
}

void TForm1::ComboBox2Change() {
  if (ComboBox1->currentIndex() > ComboBox2->currentIndex())
    ComboBox1->setCurrentIndex(ComboBox2->currentIndex());
}

void TForm1::ComboBox3Change() {
  const int index = ComboBox3->currentIndex();
  if (index < 0 || index > 4 || !SearchThread) return;
  const int previous = SearchThread->PriorityLevel();
  const std::string reason = SearchThread->SetPriorityLevel(2 - index);
  if (!reason.empty()) {
    ComboBox3->setCurrentIndex(2 - previous);  // shows the priority still in effect
    Dialogs.showError(this, QStringLiteral("The priority could not be changed: ") +
                                QString::fromLocal8Bit(reason.c_str()));
  }
}

void TForm1::ComboBox4Change() {
  switch (ComboBox4->currentIndex()) {
    case 0: DiagonalPasses.store(3); break;
    case 1: DiagonalPasses.store(12); break;
    default: break;
  }
}

void TForm1::ComboBox5Change() {
  switch (ComboBox5->currentIndex()) {
    case 0: DisplayInterval.store(1, std::memory_order_relaxed); break;
    case 1: DisplayInterval.store(100, std::memory_order_relaxed); break;
    case 2: DisplayInterval.store(1000, std::memory_order_relaxed); break;
    default: break;
  }
}

void TForm1::RunEventsPending() {
  QMetaObject::invokeMethod(this, [this] { ScheduleDrain(); }, Qt::QueuedConnection);
}

void TForm1::ScheduleDrain() {
  const qint64 since = sinceDrain_.isValid() ? sinceDrain_.elapsed() : kDrainGapMs;
  if (since >= kDrainGapMs)
    DrainRunEvents();
  else
    QTimer::singleShot(kDrainGapMs - since, this, [this] { DrainRunEvents(); });
}

void TForm1::DrainRunEvents() {
  events_.TakeAll(drained_);
  sinceDrain_.start();
  for (const RunEvent& e : drained_) {
    switch (e.kind) {
      case RunEvent::Kind::Square:
        ShowSquare(e);
        break;
      case RunEvent::Kind::CenterDone:
        Memo1->appendPlainText(QStringLiteral("Center=%1 %2 kyrs").arg(e.center).arg(e.count));
        break;
      case RunEvent::Kind::FileError:
        Memo1->appendPlainText(QStringLiteral("File error: ") +
                               QString::fromLocal8Bit(platform::SystemReason(e.error).c_str()));
        break;
      case RunEvent::Kind::RunEnded:
        EndRun(e);
        break;
    }
  }
}

void TForm1::ShowSquare(const RunEvent& e) {
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 5; ++c) ui::SetGridCell(StringGrid1, c, r, QString::number(e.cells[5 * r + c]));
  ui::SetCaption(Label4, CountText(e.count));
  if (e.withTime)
    ui::SetCaption(Label2, QStringLiteral("End  : ") +
                               ui::DateTimeText(QDateTime::fromMSecsSinceEpoch(e.timeMs)));
}

void TForm1::EndRun(const RunEvent& e) {
  if (!SearchThread) return;
  SearchThread->WaitFor();  // it has sent its last report and closed the file
  const std::string failure = SearchThread->Failure();
  SearchThread.reset();
  Button1->setEnabled(true);
  Button2->setEnabled(false);
  ui::SetCaption(Label4, CountText(e.count));
  ui::SetCaption(Label2, QStringLiteral("End  : ") +
                             ui::DateTimeText(QDateTime::fromMSecsSinceEpoch(e.timeMs)));
  SetRunControls(false);
  Button2->setText(QStringLiteral("Stop"));  // a Stop pressed just as the run ended
  if (!failure.empty())
    Dialogs.showError(this, QStringLiteral("The search failed: ") + QString::fromLocal8Bit(failure.c_str()));
}

void TForm1::AbandonRun() {
  if (!SearchThread) return;
  SearchThread->Terminate();  // also wakes a paused search
  SearchThread->WaitFor();
  SearchThread.reset();
  events_.TakeAll(drained_);
  drained_.clear();
  SetRunControls(false);
  Button2->setText(QStringLiteral("Stop"));
}

}  // namespace ferolin
