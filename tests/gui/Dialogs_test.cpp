#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "FrameFixture.h"
#include "ModalDriver.h"
#include "replay/DlgTimeBack.h"
#include "replay/DlgTrainNote.h"
#include "replay/TrainingNotes.h"
#include "widgets/MessageBoxPrompter.h"

namespace kestrel::test {
namespace {

class TimeBackDialog : public FrameFixture {};

TEST_F(TimeBackDialog, ChecksTheTimeInOrderAndStaysOpen) {
  Make();
  struct Case {
    const char *hour, *minute;
    int current;
    const char* message;
    const char *hourShown, *minuteShown;
  };
  const Case cases[] = {
      {"7", "30", 632, "小時必須介於8-13時", "07", "30"},
      {"14", "0", 632, "小時必須介於8-13時", "14", "00"},
      {"9", "60", 632, "分鐘必須介於0-59分", "09", "60"},
      {"8", "45", 632, "時間必須>開盤時間", "08", "45"},
      {"10", "32", 632, "時間必須<目前時間", "10", "32"},
      {"13", "46", 830, "時間必須<收盤時間", "13", "46"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const RewindDialogStart start{"交易時間　10:32:00", c.current};
    CDlgTimeBack dialog(Ctx().engine, sleeper, start);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "盤勢回溯");
    EXPECT_EQ(dialog.CurrentTimeText().toStdString(), "交易時間　10:32:00");
    EXPECT_EQ(dialog.StatusText().toStdString(), "處理狀態:");
    dialog.HourEdit()->setText(c.hour);
    dialog.MinuteEdit()->setText(c.minute);
    dialog.OnOk();
    EXPECT_EQ(dialog.StatusText().toStdString(), c.message);
    EXPECT_EQ(dialog.HourEdit()->text().toStdString(), c.hourShown);
    EXPECT_EQ(dialog.MinuteEdit()->text().toStdString(), c.minuteShown);
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(sleeper.Calls(), 0);
  }
}

TEST(TrainNoteDialog, ShowsTheNoteAndRemembersWhereItWasMoved) {
  TrainingSchedule schedule;
  CDlgTrainNote dialog(schedule, "第一行\r\n第二行\r\n", "下次提示時間:已到結尾");
  EXPECT_EQ(dialog.windowTitle().toStdString(), "訓練盤說明");
  EXPECT_EQ(dialog.NoteText().toStdString(), "第一行\n第二行\n");
  EXPECT_EQ(dialog.NextText().toStdString(), "下次提示時間:已到結尾");
  dialog.show();
  dialog.move(120, 80);
  EXPECT_EQ(schedule.dialogLeft, 120);
  EXPECT_EQ(schedule.dialogTop, 80);
  dialog.accept();

  CDlgTrainNote again(schedule, "x", "y");
  again.show();
  EXPECT_EQ(again.pos(), QPoint(120, 80));
}

TEST(MessageBoxes, AnswerWithChineseButtonsAndReportTheChoice) {
  struct Case {
    PromptButtons buttons;
    QMessageBox::StandardButton press;
    QStringList texts;
    PromptAnswer answer;
  };
  const Case cases[] = {
      {PromptButtons::YesNo, QMessageBox::No, {"是(&Y)", "否(&N)"}, PromptAnswer::No},
      {PromptButtons::YesNoCancel, QMessageBox::Yes, {"是(&Y)", "否(&N)", "取消"},
       PromptAnswer::Yes},
      {PromptButtons::OkCancel, QMessageBox::Cancel, {"確定", "取消"}, PromptAnswer::Cancel},
  };
  MessageBoxPrompter prompter;
  for (const Case& c : cases) {
    QStringList shown;
    ModalDriver driver;
    driver.Then<QMessageBox>([&](QMessageBox& box) {
      for (QAbstractButton* b : box.buttons()) shown << b->text();
      box.button(c.press)->click();
    });
    EXPECT_EQ(prompter.Ask("確定要離開嗎?", kCaptionNotice, c.buttons), c.answer);
    shown.sort();
    QStringList expected = c.texts;
    expected.sort();
    EXPECT_EQ(shown, expected);
  }
}

}  // namespace
}  // namespace kestrel::test
