#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

class Dialogs;
class PrintTarget;
class QPlainTextEdit;
class QToolButton;

// The size box: an editable combo box whose list, when opened, is the font dialog.
class FontSizeBox final : public QComboBox {
  Q_OBJECT
 public:
  using QComboBox::QComboBox;
  void showPopup() override { emit fontDialogRequested(); }

 signals:
  void fontDialogRequested();
};

// A picture that reports clicks.
class ClickablePicture final : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// frmShowSpravki: shows a report page by page as editable fixed-pitch text, lets the user
// restyle the font and prints the page. The report state belongs to the window and goes
// with it when it closes.
class frmShowSpravki final : public QWidget {
  Q_OBJECT
 public:
  frmShowSpravki(Dialogs& dialogs, PrintTarget& target, QWidget* parent = nullptr);

  // A one-page report: page 1 is `text`, the size goes back to 8 points, the caption becomes
  // the report's and the window is shown without blocking the caller.
  void ShowReport(const QString& text);

  const QStringList& ReportPages() const { return m_pages; }
  int PageCount() const { return m_pageCount; }
  int CurrentPage() const { return m_currentPage; }
  int PrintOrientation() const { return m_printOrientation; }

  // The commands behind the controls.
  void NextPage();
  void PreviousPage();
  void ApplyTypedSize();
  void ChooseFont();
  void ToggleBold();
  void ToggleItalic();
  void PrintPage();
  void ToggleOrientation();

 signals:
  void closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateStrip();
  void CreateText();
  void Load();
  void ReadPageCount();
  void PutPage(int page);
  void StoreText();
  QString TextContent() const;
  QSize FrameExtra() const;

  Dialogs& m_dialogs;
  PrintTarget& m_target;

  QStringList m_pages;  // page texts; index 0 is page 1
  int m_pageCount = 0;
  int m_currentPage = 1;
  int m_printOrientation = 0;  // 0 until toggled or printed; 1 portrait, 2 landscape

  QWidget* m_strip = nullptr;
  QLabel* m_lblFont = nullptr;
  FontSizeBox* m_cmdFont = nullptr;
  QToolButton* m_cmdBold = nullptr;
  QToolButton* m_cmdItalic = nullptr;
  ClickablePicture* m_image1 = nullptr;
  QToolButton* m_cmdPrint = nullptr;
  QToolButton* m_cmdPrevious = nullptr;
  QToolButton* m_cmdNext = nullptr;
  QLabel* m_lblPage = nullptr;
  QLabel* m_lblMaxPage = nullptr;
  QToolButton* m_cmdExit = nullptr;
  QPlainTextEdit* m_text = nullptr;
  QPixmap m_portrait;   // Image2
  QPixmap m_landscape;  // Image3
};
