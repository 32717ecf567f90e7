#include "frmgetfile.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "dialogs.h"
#include "twips.h"
#include "widgetstyle.h"

namespace {

// "Microsoft Sans Serif" does not exist on Linux; Arial (Liberation Sans) has its metrics.
QWidget* Panel(QWidget* parent, const QRect& rect, const QColor& colour) {
  auto* panel = new QWidget(parent);
  panel->setGeometry(rect);
  SetBackground(panel, colour);
  return panel;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& rect) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(rect);
  button->setFont(DesignFont(QStringLiteral("Arial"), 9.75, true));
  return button;
}

bool OnlyBlanks(const QString& text) {
  for (QChar c : text)
    if (c != u' ') return false;
  return true;
}

}  // namespace

frmGetFile::frmGetFile(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGetFile"));
  setWindowTitle(QStringLiteral("Избор на файл"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  // The design's width, or what the window manager needs to show the whole title; the panels
  // run across the whole width.
  const QSize design = TwipsSize(2985, 4320);
  setFixedSize(std::max(design.width(), TitleBarWidth(windowTitle())), design.height());
  const int extra = width() - design.width();
  setFont(DesignFont(QStringLiteral("Arial"), 8.25, true));
  SetBackground(this, QColor(0xB3, 0xB3, 0xB3));

  m_picture1 =
      Panel(this, TwipsRect(-240, 0, 3255, 3735).adjusted(0, 0, extra, 0), QColor(0, 255, 255));
  m_picture1->setObjectName(QStringLiteral("Picture1"));

  m_searchSpec = new QLineEdit(QStringLiteral("*.*"), m_picture1);
  m_searchSpec->setObjectName(QStringLiteral("txtSearchSpec"));
  m_searchSpec->setGeometry(TwipsRect(360, 120, 2655, 285));
  m_searchSpec->setToolTip(QStringLiteral("Посочете тип на файловете."));
  m_searchSpec->setFont(DesignFont(QStringLiteral("Arial"), 8.25, true));
  SetPaper(m_searchSpec, QColor(255, 255, 192));

  m_fileList = new QListWidget(m_picture1);
  m_fileList->setObjectName(QStringLiteral("FileList"));
  m_fileList->setGeometry(TwipsRect(360, 480, 2655, 2940));
  m_fileList->setFont(DesignFont(QStringLiteral("Courier New"), 9.75, true));
  m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
  SetPaper(m_fileList, Qt::white);

  m_picture2 =
      Panel(this, TwipsRect(0, 3720, 3015, 600).adjusted(0, 0, extra, 0), QColor(0, 192, 192));
  m_picture2->setObjectName(QStringLiteral("Picture2"));
  m_ok = Button(m_picture2, QStringLiteral("cmdOK"), QStringLiteral("Избор"),
                TwipsRect(100, 60, 1335, 420));
  m_cancel = Button(m_picture2, QStringLiteral("cmdCancel"), QStringLiteral("Отказ"),
                    TwipsRect(1530, 60, 1335, 420));
  // Enter belongs to the list and to a focused button (see eventFilter); in the pattern box
  // it chooses nothing, so no button may act as the dialog's default.
  m_ok->setAutoDefault(false);
  m_cancel->setAutoDefault(false);

  // A window widened for its title keeps its controls in the middle.
  for (QWidget* control : {static_cast<QWidget*>(m_searchSpec), static_cast<QWidget*>(m_fileList),
                           static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_cancel)})
    control->move(control->pos() + QPoint(extra / 2, 0));

  setTabOrder(m_fileList, m_ok);
  setTabOrder(m_ok, m_cancel);
  setTabOrder(m_cancel, m_searchSpec);
  m_fileList->setFocus();

  connect(m_searchSpec, &QLineEdit::textChanged, this, &frmGetFile::Rebuild);
  connect(m_ok, &QPushButton::clicked, this, &frmGetFile::Choose);
  connect(m_cancel, &QPushButton::clicked, this, &frmGetFile::reject);
  m_ok->installEventFilter(this);
  m_cancel->installEventFilter(this);
  m_searchSpec->installEventFilter(this);
  m_fileList->installEventFilter(this);
  m_fileList->viewport()->installEventFilter(this);
}

void frmGetFile::SetListing(const QString& pattern, const QString& directory) {
  m_path = directory;
  if (m_searchSpec->text() == pattern)
    Rebuild();
  else
    m_searchSpec->setText(pattern);
}

QString frmGetFile::SelectedName() const {
  const QList<QListWidgetItem*> selected = m_fileList->selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text();
}

void frmGetFile::Unload() {
  m_fileList->clear();
}

void frmGetFile::Rebuild() {
  m_listing.SetPattern(m_searchSpec->text());
  if (!m_path.isEmpty()) m_listing.SetDirectory(m_path);
  QStringList names = m_listing.Names();
  SortStrings(names, names.size(), false);
  m_fileList->clear();
  m_fileList->addItems(names);
  if (m_fileList->count() > 0) m_fileList->setCurrentRow(0);
}

void frmGetFile::Choose() {
  accept();
}

// Every way of giving up (the cancel button, Esc anywhere, the close box) ends here, and an
// empty list is what makes the chooser hand back no name.
void frmGetFile::reject() {
  Unload();
  QDialog::reject();
}

bool frmGetFile::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_searchSpec && event->type() == QEvent::FocusIn) {
    // Deferred, so that the click that brought the focus does not undo the selection.
    QTimer::singleShot(0, m_searchSpec, &QLineEdit::selectAll);
  } else if (watched == m_fileList && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Choose();
      return true;
    }
  } else if ((watched == m_ok || watched == m_cancel) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      static_cast<QPushButton*>(watched)->click();
      return true;
    }
  } else if (watched == m_fileList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    Choose();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

QString ChooseFileEntry(QString& pattern, const QString& directory, QWidget* owner) {
  QString listed = directory;
  const qsizetype separator = pattern.indexOf(u'/');
  if (separator >= 0) {
    listed = pattern.left(separator + 1);
    pattern = pattern.mid(separator + 1, 12);
  }
  frmGetFile form(owner);
  form.SetListing(pattern, listed);
  form.exec();
  const QString name = form.SelectedName();
  return OnlyBlanks(name) ? QString() : name;
}

QtDialogs::FileChooser MakeFileChooser(const TableState& state) {
  return [&state](const QString& pattern, QWidget* owner) {
    QString shortened = pattern;
    return ChooseFileEntry(shortened, state.startDirectory, owner);
  };
}
