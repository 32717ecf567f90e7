#include "frmshowspravki.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

#include "dialogs.h"
#include "leadingnumber.h"
#include "printtarget.h"
#include "reportnumbers.h"
#include "reportpictures.h"
#include "reportprint.h"
#include "reporttexts.h"
#include "twips.h"
#include "widgetstyle.h"

namespace {

constexpr double kDesignTextSize = 8.25;
constexpr int kSmallestTypedSize = 2;
constexpr int kLeft = 10;  // the window's outer frame, placed on load
constexpr int kTop = 1400;
constexpr int kOuterWidth = 12200;
constexpr int kOuterHeight = 6515;
constexpr int kTextTop = 480;
// The text box is this much narrower and lower than the window's outer frame.
constexpr int kTextWidthMargin = 110;
constexpr int kTextHeightMargin = 880;
// What the window's frame adds to its client area when the window system does not say:
// with it the text box fills the client area below the strip.
constexpr int kAssumedFrameWidth = kTextWidthMargin;
constexpr int kAssumedFrameHeight = kTextHeightMargin - kTextTop;
const QColor kFace(192, 192, 192);

QFont CaptionFont(bool bold = false) {
  return DesignFont(QStringLiteral("Arial"), 8.25, bold);
}

QToolButton* PictureButton(QWidget* parent, const QString& name, const QString& tip,
                           const QIcon& icon, const QRect& place) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setToolTip(tip);
  button->setIcon(icon);
  button->setIconSize(QSize(16, 16));
  button->setGeometry(place);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

QLabel* BoxedLabel(QWidget* parent, const QString& name, Qt::Alignment alignment,
                   const QRect& place) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(alignment | Qt::AlignVCenter);
  label->setFont(CaptionFont());
  label->setGeometry(place);
  return label;
}

QLabel* Caption(QWidget* parent, const QString& name, const QString& text, Qt::Alignment alignment,
                const QRect& place) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(alignment | Qt::AlignTop);
  label->setFont(CaptionFont());
  label->setGeometry(place);
  return label;
}

}  // namespace

void ClickablePicture::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  emit clicked();
}

frmShowSpravki::frmShowSpravki(Dialogs& dialogs, PrintTarget& target, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_target(target) {
  setObjectName(QStringLiteral("frmShowSpravki"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(reporttexts::kCaptionDesign.toString());
  SetBackground(this, kFace);
  m_portrait = PortraitPicture();
  m_landscape = LandscapePicture();

  CreateStrip();
  CreateText();
  // Esc closes the window wherever the focus is, so every control is watched.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  Load();
}

void frmShowSpravki::CreateStrip() {
  m_strip = new QFrame(this);
  m_strip->setObjectName(QStringLiteral("Picture1"));
  static_cast<QFrame*>(m_strip)->setFrameStyle(QFrame::Panel | QFrame::Raised);
  m_strip->setGeometry(TwipsRect(0, 0, 11895, 495));

  m_lblFont =
      BoxedLabel(m_strip, QStringLiteral("lblFont"), Qt::AlignLeft, TwipsRect(480, 60, 2295, 315));

  m_cmdFont = new FontSizeBox(m_strip);
  m_cmdFont->setObjectName(QStringLiteral("cmdFont"));
  m_cmdFont->setEditable(true);
  m_cmdFont->setInsertPolicy(QComboBox::NoInsert);
  m_cmdFont->setFont(CaptionFont());
  m_cmdFont->setGeometry(TwipsRect(2760, 60, 855, 315));
  connect(m_cmdFont->lineEdit(), &QLineEdit::returnPressed, this, &frmShowSpravki::ApplyTypedSize);
  connect(m_cmdFont, &FontSizeBox::fontDialogRequested, this, &frmShowSpravki::ChooseFont);

  m_cmdBold = new QToolButton(m_strip);
  m_cmdBold->setObjectName(QStringLiteral("cmdBold"));
  m_cmdBold->setText(QStringLiteral("B"));
  m_cmdBold->setFont(CaptionFont(true));
  m_cmdBold->setToolTip(reporttexts::kTipBold.toString());
  m_cmdBold->setGeometry(TwipsRect(3720, 60, 255, 330));
  connect(m_cmdBold, &QToolButton::clicked, this, &frmShowSpravki::ToggleBold);

  m_cmdItalic = new QToolButton(m_strip);
  m_cmdItalic->setObjectName(QStringLiteral("cmdItalic"));
  m_cmdItalic->setText(QStringLiteral("I"));
  QFont boldItalic = CaptionFont(true);
  boldItalic.setItalic(true);
  m_cmdItalic->setFont(boldItalic);
  m_cmdItalic->setToolTip(reporttexts::kTipItalic.toString());
  m_cmdItalic->setGeometry(TwipsRect(4040, 60, 255, 330));
  connect(m_cmdItalic, &QToolButton::clicked, this, &frmShowSpravki::ToggleItalic);

  m_image1 = new ClickablePicture(m_strip);
  m_image1->setObjectName(QStringLiteral("Image1"));
  m_image1->setToolTip(reporttexts::kTipOrientation.toString());
  m_image1->setScaledContents(true);
  m_image1->setGeometry(TwipsRect(4440, 75, 300, 320));
  connect(m_image1, &ClickablePicture::clicked, this, &frmShowSpravki::ToggleOrientation);

  m_cmdPrint = PictureButton(m_strip, QStringLiteral("cmdPrint"), reporttexts::kTipPrint.toString(),
                             PrintIcon(), TwipsRect(4860, 60, 360, 360));
  connect(m_cmdPrint, &QToolButton::clicked, this, &frmShowSpravki::PrintPage);
  m_cmdPrevious =
      PictureButton(m_strip, QStringLiteral("cmdPrevious"), reporttexts::kTipPrevious.toString(),
                    PreviousPageIcon(), TwipsRect(7350, 60, 300, 330));
  connect(m_cmdPrevious, &QToolButton::clicked, this, &frmShowSpravki::PreviousPage);
  m_cmdNext = PictureButton(m_strip, QStringLiteral("cmdNext"), reporttexts::kTipNext.toString(),
                            NextPageIcon(), TwipsRect(7710, 60, 300, 330));
  connect(m_cmdNext, &QToolButton::clicked, this, &frmShowSpravki::NextPage);

  Caption(m_strip, QStringLiteral("Label1"), reporttexts::kLabelPage.toString(), Qt::AlignLeft,
          TwipsRect(8160, 120, 375, 255));
  m_lblPage =
      BoxedLabel(m_strip, QStringLiteral("lblPage"), Qt::AlignRight, TwipsRect(8520, 60, 495, 300));
  Caption(m_strip, QStringLiteral("Label2"), QStringLiteral("/"), Qt::AlignHCenter,
          TwipsRect(9000, 120, 135, 255));
  m_lblMaxPage = BoxedLabel(m_strip, QStringLiteral("lblMaxPage"), Qt::AlignRight,
                            TwipsRect(9120, 60, 495, 300));

  m_cmdExit = PictureButton(m_strip, QStringLiteral("cmdExit"), reporttexts::kTipExit.toString(),
                            ExitIcon(), TwipsRect(10320, 50, 360, 360));
  connect(m_cmdExit, &QToolButton::clicked, this, &QWidget::close);
}

void frmShowSpravki::CreateText() {
  m_text = new QPlainTextEdit(this);
  m_text->setObjectName(QStringLiteral("Text"));
  // Only a fixed-pitch face keeps the report's columns aligned.
  QFont font = DesignFont(reporttexts::kReportFace.toString(), kDesignTextSize);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  m_text->setFont(font);
  m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetPaper(m_text, Qt::white);
  m_text->setGeometry(TwipsRect(0, kTextTop, 11895, 5655));
  connect(m_text, &QPlainTextEdit::textChanged, this, &frmShowSpravki::StoreText);
}

void frmShowSpravki::Load() {
  const QSize frame = FrameExtra();
  move(Twips(kLeft), Twips(kTop));
  resize(Twips(kOuterWidth) - frame.width(), Twips(kOuterHeight) - frame.height());
  m_cmdFont->setEditText(QString::number(m_text->font().pointSizeF()));
  m_lblFont->setText(m_text->font().family());
  m_image1->setPixmap(m_portrait);
  ReadPageCount();
  m_lblPage->setText(QStringLiteral("1"));
  m_currentPage = 1;
}

QSize frmShowSpravki::FrameExtra() const {
  const QSize extra = frameGeometry().size() - size();
  if (isVisible() && (extra.width() > 0 || extra.height() > 0)) return extra;
  return {Twips(kAssumedFrameWidth), Twips(kAssumedFrameHeight)};
}

void frmShowSpravki::ShowReport(const QString& text) {
  m_pages = QStringList{text};
  m_pageCount = 1;
  m_lblMaxPage->setText(QStringLiteral("1"));
  m_cmdFont->setEditText(QString::number(kReportTextSize));
  QFont font = m_text->font();
  font.setPointSize(kReportTextSize);
  m_text->setFont(font);
  setWindowTitle(reporttexts::kCaptionReport.toString());
  m_currentPage = 1;
  m_lblPage->setText(QStringLiteral("1"));
  PutPage(1);
  show();
  raise();
  activateWindow();
}

void frmShowSpravki::ReadPageCount() {
  const int count = RoundToShort(LeadingNumber(m_lblMaxPage->text())).value_or(0);
  m_pageCount = count == 0 ? 1 : count;
}

void frmShowSpravki::PutPage(int page) {
  QString text = m_pages.value(page - 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_text->setPlainText(text);
}

QString frmShowSpravki::TextContent() const {
  QString text = m_text->toPlainText();
  text.replace(u'\n', QStringLiteral("\r\n"));
  return text;
}

void frmShowSpravki::StoreText() {
  if (m_currentPage < 1) return;
  while (m_pages.size() < m_currentPage) m_pages.append(QString());
  m_pages[m_currentPage - 1] = TextContent();
}

void frmShowSpravki::NextPage() {
  ReadPageCount();
  if (m_currentPage < m_pageCount && m_currentPage < m_pages.size()) {
    ++m_currentPage;
    PutPage(m_currentPage);
  }
  m_lblPage->setText(QString::number(m_currentPage));
}

void frmShowSpravki::PreviousPage() {
  if (m_currentPage > 1) {
    --m_currentPage;
    PutPage(m_currentPage);
  }
  m_lblPage->setText(QString::number(m_currentPage));
}

void frmShowSpravki::ApplyTypedSize() {
  int size = RoundToShort(LeadingNumber(m_cmdFont->currentText())).value_or(0);
  if (size < kSmallestTypedSize) {
    size = kSmallestTypedSize;
    m_cmdFont->setEditText(QString::number(size));
  }
  // A larger size the text box does not take; the old size stays.
  if (size > kLargestFontSize) return;
  QFont font = m_text->font();
  font.setPointSize(size);
  m_text->setFont(font);
}

void frmShowSpravki::ChooseFont() {
  bool isNumber = false;
  const float size = m_cmdFont->currentText().trimmed().toFloat(&isNumber);
  if (!isNumber) return;
  QFont initial = m_text->font();
  initial.setFamily(m_lblFont->text());
  // The dialog lists real faces only; a name that is an alias (Courier New for Liberation
  // Mono) would open it on another face, and OK would then change the report's face.
  initial.setFamily(QFontInfo(initial).family());
  if (size > 0) initial.setPointSizeF(size);
  const std::optional<QFont> chosen = m_dialogs.ChooseFont(initial);
  if (!chosen) return;

  m_cmdFont->setEditText(QString::number(chosen->pointSizeF()));
  m_lblFont->setText(chosen->family());
  QFont font = m_text->font();
  font.setFamily(chosen->family());
  font.setPointSizeF(chosen->pointSizeF());
  font.setBold(chosen->bold());
  font.setItalic(chosen->italic());
  font.setUnderline(chosen->underline());
  font.setStrikeOut(chosen->strikeOut());
  m_text->setFont(font);
  // The window's own face follows; its controls keep the fonts set on them.
  setFont(QFont(chosen->family()));
}

void frmShowSpravki::ToggleBold() {
  QFont font = m_text->font();
  font.setBold(!font.bold());
  m_text->setFont(font);
}

void frmShowSpravki::ToggleItalic() {
  QFont font = m_text->font();
  font.setItalic(!font.italic());
  m_text->setFont(font);
}

void frmShowSpravki::PrintPage() {
  if (m_printOrientation == SheetOrientation::Unset)
    m_printOrientation = SheetOrientation::Portrait;
  if (m_target.BeginJob()) {
    const ReportPrintSettings settings{m_text->font(), m_cmdFont->currentText(),
                                       m_printOrientation};
    m_target.EndJob(PrintReportText(m_target.Printer(), m_dialogs, TextContent(), settings));
  }
  m_text->setFocus();
}

void frmShowSpravki::ToggleOrientation() {
  QPrinter& printer = m_target.Printer();
  if (printer.pageLayout().orientation() == QPageLayout::Landscape) {
    printer.setPageOrientation(QPageLayout::Portrait);
    m_printOrientation = SheetOrientation::Portrait;
    m_image1->setPixmap(m_portrait);
  } else {
    printer.setPageOrientation(QPageLayout::Landscape);
    m_printOrientation = SheetOrientation::Landscape;
    m_image1->setPixmap(m_landscape);
  }
}

bool frmShowSpravki::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmShowSpravki::closeEvent(QCloseEvent* event) {
  m_pages.clear();
  event->accept();
  emit closed();
}

void frmShowSpravki::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QSize outer = size() + FrameExtra();
  QRect place = m_text->geometry();
  place.moveTopLeft(QPoint(0, Twips(kTextTop)));
  if (outer.height() - Twips(kTextHeightMargin) > 0)
    place.setHeight(outer.height() - Twips(kTextHeightMargin));
  if (outer.width() - Twips(kTextWidthMargin) > 0)
    place.setWidth(outer.width() - Twips(kTextWidthMargin));
  m_text->setGeometry(place);
}
