#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "fixedprinttarget.h"
#include "pdftools.h"
#include "reportpictures.h"
#include "reportwindow.h"
#include "scripteddialogs.h"
#include "testguards.h"
#include "twips.h"

namespace {

const QString kReport = QStringLiteral("   Заглавие\r\n——————\r\n  1  2+2     4.00 \r\n——————\r\n");

template <typename T>
T* Child(frmShowSpravki* viewer, const char* name) {
  T* child = viewer ? viewer->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  if (!child) qFatal("no control %s", name);
  return child;
}

}  // namespace

class TestReportViewer : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void firstReport();
  void reshow_data();
  void reshow();
  void sizeBox_data();
  void sizeBox();
  void fontDialog_data();
  void fontDialog();
  void realFontDialogKeepsFace_data();
  void realFontDialogKeepsFace();
  void editsSurvivePaging();
  void closing_data();
  void closing();
  void resizeRule_data();
  void resizeRule();
  void printsWhatIsShown();
  void cancelledWarningPrintsNothing();
  void orientationToggle();

 private:
  frmShowSpravki* Show(const QString& text = kReport);

  QTemporaryDir m_dir;
  QString m_pdf;
  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<FixedPrintTarget> m_target;
  std::unique_ptr<ScriptedDialogs> m_dialogs;
  std::unique_ptr<ReportWindow> m_window;
  std::unique_ptr<ModalGuard> m_guard;
};

void TestReportViewer::init() {
  m_pdf = m_dir.filePath(
      QStringLiteral("%1.pdf").arg(QString::fromLatin1(QTest::currentTestFunction())));
  m_printer = pdftools::A4PdfPrinter(m_pdf);
  m_target = std::make_unique<FixedPrintTarget>(*m_printer);
  m_dialogs = std::make_unique<ScriptedDialogs>();
  m_window = std::make_unique<ReportWindow>(*m_dialogs, *m_target);
  m_guard = std::make_unique<ModalGuard>();
}

void TestReportViewer::cleanup() {
  QCOMPARE(m_guard->TakeSeen(), QStringList());
  QCOMPARE(m_dialogs->Pending(), 0);
  m_window.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

frmShowSpravki* TestReportViewer::Show(const QString& text) {
  m_window->ShowReport(text);
  frmShowSpravki* viewer = m_window->Viewer();
  if (viewer && !QTest::qWaitForWindowExposed(viewer)) return nullptr;
  return viewer;
}

void TestReportViewer::firstReport() {
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  QVERIFY(!viewer->isModal());
  QCOMPARE(viewer->windowTitle(), QStringLiteral("Справка"));
  QCOMPARE(viewer->ReportPages(), QStringList{kReport});
  QCOMPARE(viewer->PageCount(), 1);
  QCOMPARE(viewer->CurrentPage(), 1);
  QCOMPARE(viewer->PrintOrientation(), 0);
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  QCOMPARE(text->toPlainText(),
           QString(kReport).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  QCOMPARE(text->font().pointSize(), 8);
  QCOMPARE(text->font().family(), QStringLiteral("Courier New"));
  QVERIFY(QFontInfo(text->font()).fixedPitch());
  QCOMPARE(Child<QComboBox>(viewer, "cmdFont")->currentText(), QStringLiteral("8"));
  QCOMPARE(Child<QLabel>(viewer, "lblFont")->text(), QStringLiteral("Courier New"));
  QCOMPARE(Child<QLabel>(viewer, "lblPage")->text(), QStringLiteral("1"));
  QCOMPARE(Child<QLabel>(viewer, "lblMaxPage")->text(), QStringLiteral("1"));
  QCOMPARE(Child<QToolButton>(viewer, "cmdBold")->toolTip(),
           QStringLiteral("Променя дебелината на шрифта"));
  QCOMPARE(Child<QLabel>(viewer, "Image1")->toolTip(),
           QStringLiteral("Променя положението на страницата при печат"));
  QCOMPARE(viewer->frameGeometry().topLeft(), QPoint(Twips(10), Twips(1400)));
}

// An open viewer keeps its font and orientation for the next report; a closed one starts afresh.
void TestReportViewer::reshow_data() {
  QTest::addColumn<bool>("closeFirst");
  QTest::newRow("open viewer keeps the style") << false;
  QTest::newRow("closed viewer starts afresh") << true;
}

void TestReportViewer::reshow() {
  QFETCH(bool, closeFirst);
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  QPointer<frmShowSpravki> first(viewer);
  QFont times(QStringLiteral("Times New Roman"));
  times.setPointSize(14);
  m_dialogs->AnswerFont(times);
  Child<QComboBox>(viewer, "cmdFont")->showPopup();
  Child<QToolButton>(viewer, "cmdBold")->click();
  Child<QToolButton>(viewer, "cmdItalic")->click();
  viewer->ToggleOrientation();
  QCOMPARE(viewer->PrintOrientation(), 2);
  if (closeFirst) {
    m_window->Close();
    QVERIFY(!m_window->Viewer());
    QTRY_VERIFY(first.isNull());
  }

  const QString second = QStringLiteral("втора справка\r\n");
  viewer = Show(second);
  QVERIFY(viewer);
  if (!closeFirst) QCOMPARE(viewer, first.data());
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  QCOMPARE(viewer->ReportPages(), QStringList{second});
  QCOMPARE(text->toPlainText(), QStringLiteral("втора справка\n"));
  const QString face =
      closeFirst ? QStringLiteral("Courier New") : QStringLiteral("Times New Roman");
  QCOMPARE(text->font().family(), face);
  QCOMPARE(text->font().bold(), !closeFirst);
  QCOMPARE(text->font().italic(), !closeFirst);
  QCOMPARE(text->font().pointSize(), 8);
  QCOMPARE(Child<QComboBox>(viewer, "cmdFont")->currentText(), QStringLiteral("8"));
  QCOMPARE(Child<QLabel>(viewer, "lblFont")->text(), face);
  QCOMPARE(viewer->PrintOrientation(), closeFirst ? 0 : 2);
  if (closeFirst)
    QCOMPARE(Child<QLabel>(viewer, "Image1")->pixmap().toImage(), PortraitPicture().toImage());
}

void TestReportViewer::sizeBox_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("size");
  QTest::addColumn<QString>("box");

  QTest::newRow("1 raised to 2") << QStringLiteral("1") << 2 << QStringLiteral("2");
  QTest::newRow("12.5 to even 12") << QStringLiteral("12.5") << 12 << QStringLiteral("12.5");
  QTest::newRow("13.5 to even 14") << QStringLiteral("13.5") << 14 << QStringLiteral("13.5");
  QTest::newRow("10.5 gives 10") << QStringLiteral("10.5") << 10 << QStringLiteral("10.5");
  QTest::newRow("no number") << QStringLiteral("голям") << 2 << QStringLiteral("2");
  QTest::newRow("empty") << QString() << 2 << QStringLiteral("2");
  QTest::newRow("negative") << QStringLiteral("-9") << 2 << QStringLiteral("2");
  QTest::newRow("beyond 16 bits") << QStringLiteral("70000") << 2 << QStringLiteral("2");
  QTest::newRow("leading number only") << QStringLiteral("11pt") << 11 << QStringLiteral("11pt");
  QTest::newRow("blanks inside skipped") << QStringLiteral(" 1 6") << 16 << QStringLiteral(" 1 6");
  QTest::newRow("comma ends the number") << QStringLiteral("9,5") << 9 << QStringLiteral("9,5");
  QTest::newRow("too large for the text keeps 8")
      << QStringLiteral("30000") << 8 << QStringLiteral("30000");
}

void TestReportViewer::sizeBox() {
  QFETCH(QString, typed);
  QFETCH(int, size);
  QFETCH(QString, box);
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  auto* sizeBox = Child<QComboBox>(viewer, "cmdFont");
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  sizeBox->lineEdit()->clear();
  sizeBox->lineEdit()->insert(typed);
  QCOMPARE(text->font().pointSize(), 8);  // nothing happens before Enter
  QTest::keyClick(sizeBox->lineEdit(), Qt::Key_Return);
  QCOMPARE(text->font().pointSize(), size);
  QCOMPARE(sizeBox->currentText(), box);
  QCOMPARE(sizeBox->count(), 0);
}

void TestReportViewer::fontDialog_data() {
  QTest::addColumn<QString>("boxText");
  QTest::addColumn<bool>("asked");
  QTest::addColumn<bool>("chosen");

  QTest::newRow("OK") << QStringLiteral("8") << true << true;
  QTest::newRow("cancel changes nothing") << QStringLiteral("8") << true << false;
  QTest::newRow("box without a number asks nothing") << QStringLiteral("осем") << false << false;
}

void TestReportViewer::fontDialog() {
  QFETCH(QString, boxText);
  QFETCH(bool, asked);
  QFETCH(bool, chosen);
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  auto* sizeBox = Child<QComboBox>(viewer, "cmdFont");
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  sizeBox->setEditText(boxText);
  const QFont before = text->font();

  QFont answer(QStringLiteral("Arial"));
  answer.setPointSizeF(10.5);
  answer.setBold(true);
  answer.setUnderline(true);
  answer.setStrikeOut(true);
  if (asked) m_dialogs->AnswerFont(chosen ? std::optional<QFont>(answer) : std::nullopt);
  sizeBox->showPopup();

  const auto fonts = m_dialogs->Of(QStringLiteral("font"));
  QCOMPARE(fonts.size(), asked ? 1 : 0);
  // The dialog opens on the face the text really has: Courier New is an alias here.
  if (asked) QCOMPARE(fonts[0].text, QStringLiteral("Liberation Mono"));
  if (chosen) {
    QCOMPARE(text->font().family(), QStringLiteral("Arial"));
    QCOMPARE(text->font().pointSizeF(), 10.5);
    QVERIFY(text->font().bold());
    QVERIFY(!text->font().italic());
    QVERIFY(text->font().underline());
    QVERIFY(text->font().strikeOut());
    QCOMPARE(sizeBox->currentText(), QStringLiteral("10.5"));
    QCOMPARE(Child<QLabel>(viewer, "lblFont")->text(), QStringLiteral("Arial"));
    // The strip's own controls keep their fonts.
    QCOMPARE(Child<QToolButton>(viewer, "cmdBold")->font().family(), QStringLiteral("Arial"));
    QVERIFY(Child<QToolButton>(viewer, "cmdItalic")->font().italic());
  } else {
    QCOMPARE(text->font(), before);
    QCOMPARE(sizeBox->currentText(), boxText);
    QCOMPARE(Child<QLabel>(viewer, "lblFont")->text(), QStringLiteral("Courier New"));
  }
}

// The real dialog, answered OK without a change: the report keeps a fixed-pitch face.
void TestReportViewer::realFontDialogKeepsFace_data() {
  QTest::addColumn<bool>("bold");
  QTest::newRow("regular") << false;
  QTest::newRow("bold") << true;
}

void TestReportViewer::realFontDialogKeepsFace() {
  QFETCH(bool, bold);
  QtDialogs real;
  ReportWindow window(real, *m_target);
  window.ShowReport(kReport);
  frmShowSpravki* viewer = window.Viewer();
  QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  if (bold) Child<QToolButton>(viewer, "cmdBold")->click();

  QString offered;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    offered = dialog->currentFont().family();
    dialog->accept();
  });
  Child<QComboBox>(viewer, "cmdFont")->showPopup();
  QCOMPARE(offered, QStringLiteral("Liberation Mono"));
  QCOMPARE(text->font().family(), QStringLiteral("Liberation Mono"));
  QVERIFY(QFontInfo(text->font()).fixedPitch());
  QCOMPARE(text->font().bold(), bold);
  QCOMPARE(text->font().pointSize(), 8);
  QCOMPARE(Child<QLabel>(viewer, "lblFont")->text(), QStringLiteral("Liberation Mono"));
}

void TestReportViewer::editsSurvivePaging() {
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  text->moveCursor(QTextCursor::End);
  text->insertPlainText(QStringLiteral("бележка"));  // as typed
  const QString edited = kReport + QStringLiteral("бележка");
  QCOMPARE(viewer->ReportPages(), QStringList{edited});

  Child<QToolButton>(viewer, "cmdNext")->click();
  QCOMPARE(viewer->CurrentPage(), 1);
  Child<QToolButton>(viewer, "cmdPrevious")->click();
  QCOMPARE(viewer->CurrentPage(), 1);
  QCOMPARE(Child<QLabel>(viewer, "lblPage")->text(), QStringLiteral("1"));
  QCOMPARE(viewer->ReportPages(), QStringList{edited});
  QVERIFY(text->toPlainText().endsWith(QStringLiteral("бележка")));
}

void TestReportViewer::closing_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Esc in the text") << QStringLiteral("Text");
  QTest::newRow("Esc in the size box") << QStringLiteral("cmdFont");
  QTest::newRow("exit button") << QStringLiteral("cmdExit");
  QTest::newRow("frame") << QStringLiteral("frame");
}

void TestReportViewer::closing() {
  QFETCH(QString, how);
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  QPointer<frmShowSpravki> watched(viewer);
  QStringList pagesAtClose{QStringLiteral("not closed")};
  connect(viewer, &frmShowSpravki::closed, this, [&] { pagesAtClose = viewer->ReportPages(); });
  if (how == u"Text")
    QTest::keyClick(Child<QPlainTextEdit>(viewer, "Text"), Qt::Key_Escape);
  else if (how == u"cmdFont")
    QTest::keyClick(Child<QComboBox>(viewer, "cmdFont")->lineEdit(), Qt::Key_Escape);
  else if (how == u"cmdExit")
    Child<QToolButton>(viewer, "cmdExit")->click();
  else
    viewer->close();
  QCOMPARE(pagesAtClose, QStringList());
  QVERIFY(!m_window->Viewer());
  QTRY_VERIFY(watched.isNull());
}

void TestReportViewer::resizeRule_data() {
  QTest::addColumn<int>("width");  // client size in twips
  QTest::addColumn<int>("height");
  QTest::addColumn<bool>("followsHeight");

  QTest::newRow("larger") << 15000 << 9000 << true;
  QTest::newRow("smaller") << 6000 << 3000 << true;
  QTest::newRow("too low for the text") << 6000 << 300 << false;
}

void TestReportViewer::resizeRule() {
  QFETCH(int, width);
  QFETCH(int, height);
  QFETCH(bool, followsHeight);
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  const int heightBefore = text->height();

  viewer->resize(Twips(width), Twips(height));
  QTRY_COMPARE(viewer->size(), QSize(Twips(width), Twips(height)));
  // The rule works on the outer size; a window without a known frame is taken to have the
  // frame that lets the text fill the client area below the strip.
  QSize outer = viewer->frameGeometry().size();
  if (outer == viewer->size()) outer += QSize(Twips(110), Twips(880 - 480));
  QCOMPARE(text->pos(), QPoint(0, Twips(480)));
  QCOMPARE(text->width(), outer.width() - Twips(110));
  QCOMPARE(text->height(), followsHeight ? outer.height() - Twips(880) : heightBefore);
  if (followsHeight) QVERIFY(text->geometry().bottom() < viewer->height());
}

void TestReportViewer::printsWhatIsShown() {
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  viewer->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(viewer));
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  text->moveCursor(QTextCursor::End);
  text->insertPlainText(QStringLiteral("допълнение"));  // as typed
  Child<QComboBox>(viewer, "cmdFont")->setFocus();

  Child<QToolButton>(viewer, "cmdPrint")->click();
  QCOMPARE(viewer->PrintOrientation(), 1);
  QVERIFY(text->hasFocus());
  QVERIFY(m_dialogs->Log().isEmpty());
  QCOMPARE(pdftools::PageCount(m_pdf), 1);
  const QSizeF page = pdftools::PageSize(m_pdf);
  QVERIFY(page.height() > page.width());
  const QString printed = pdftools::Text(m_pdf);
  QVERIFY2(printed.contains(QStringLiteral("Заглавие")), qPrintable(printed));
  QVERIFY2(printed.contains(QStringLiteral("допълнение")), qPrintable(printed));
}

void TestReportViewer::cancelledWarningPrintsNothing() {
  frmShowSpravki* viewer = Show(QString(400, u'Ш') + QStringLiteral("\r\n"));
  QVERIFY(viewer);
  viewer->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(viewer));
  auto* text = Child<QPlainTextEdit>(viewer, "Text");
  Child<QToolButton>(viewer, "cmdBold")->setFocus();
  m_dialogs->AnswerQuestion(false);
  Child<QToolButton>(viewer, "cmdPrint")->click();
  const auto questions = m_dialogs->Of(QStringLiteral("question"));
  QCOMPARE(questions.size(), 1);
  QCOMPARE(questions[0].title, QStringLiteral("Фиш"));
  QVERIFY(!QFile::exists(m_pdf));
  QVERIFY(text->hasFocus());
}

void TestReportViewer::orientationToggle() {
  m_printer->setPageOrientation(QPageLayout::Landscape);  // left so by an earlier window
  frmShowSpravki* viewer = Show();
  QVERIFY(viewer);
  auto* image = Child<QLabel>(viewer, "Image1");
  const QImage portrait = image->pixmap().toImage();

  viewer->ToggleOrientation();
  QCOMPARE(viewer->PrintOrientation(), 1);
  QCOMPARE(m_printer->pageLayout().orientation(), QPageLayout::Portrait);
  QCOMPARE(image->pixmap().toImage(), portrait);

  QTest::mouseClick(image, Qt::LeftButton);
  QCOMPARE(viewer->PrintOrientation(), 2);
  QCOMPARE(m_printer->pageLayout().orientation(), QPageLayout::Landscape);
  QVERIFY(image->pixmap().toImage() != portrait);

  QTest::mouseClick(image, Qt::LeftButton);
  QCOMPARE(viewer->PrintOrientation(), 1);
  QCOMPARE(m_printer->pageLayout().orientation(), QPageLayout::Portrait);
  QCOMPARE(image->pixmap().toImage(), portrait);

  viewer->ToggleOrientation();
  Child<QToolButton>(viewer, "cmdPrint")->click();
  const QSizeF page = pdftools::PageSize(m_pdf);
  QVERIFY2(page.width() > page.height(), "printed in landscape");
}

QTEST_MAIN(TestReportViewer)
#include "test_reportviewer.moc"
