#include "frmcalculator.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <limits>

#include "accessiblenames.h"
#include "calculatortexts.h"
#include "cellframe.h"
#include "dialogs.h"
#include "functionbuttons.h"
#include "icons.h"
#include "onelinevalidator.h"
#include "shortcuts.h"
#include "tablecolours.h"
#include "twips.h"
#include "widgetstyle.h"

// The window's controls, where the form puts them.

namespace {

// Grid of the function buttons, in twips from the panel's top left.
constexpr int kColumnLeft[] = {120, 750, 1380, 2010, 2640, 3270, 3990, 4620, 5250, 5880};
constexpr int kRowTop[] = {60, 330, 600, 870};
constexpr int kRowTopTwips = 1620;
constexpr int kRowPitchTwips = 240;
constexpr int kRowHeightTwips = 285;
// More than a working session needs; each step holds two copies of the 27 records.
constexpr int kUndoLimit = 500;

CellLabel* BorderedLabel(QWidget* parent, const QString& name, const QColor& colour,
                         Qt::Alignment alignment, const QRect& geometry) {
  auto* label = new CellLabel(parent);
  label->setObjectName(name);
  label->setAlignment(alignment);
  SetBackground(label, colour);
  label->setGeometry(geometry);
  return label;
}

QLineEdit* WhiteBox(QWidget* parent, const QString& name, const QRect& geometry) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  SetPaper(box, kWhite);
  box->setGeometry(geometry);
  return box;
}

QString Indexed(const char* name, int i) {
  return QLatin1String(name) + u'_' + QString::number(i);
}

}  // namespace

frmCalculator::frmCalculator(TableState& state, Dialogs& dialogs, UserLocale locale,
                             CalculatorCommands commands, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_state(state),
      m_dialogs(dialogs),
      m_locale(locale),
      m_commands(std::move(commands)),
      m_evaluator(locale.dates, &state) {
  Q_ASSERT(m_commands.HasRequired());
  setObjectName(QStringLiteral("frmCalculator"));
  setWindowTitle(kAppTitle.toString());
  setFixedSize(TwipsSize(11295, 7800));
  SetBackground(this, kGrey);
  setFont(DesignFont(QStringLiteral("Arial"), 8.25, true));
  m_style = new TableStyle(this);

  {
    // A line edit lays out its empty text in the application's font before it takes the
    // window's. That loads a font family nothing on the window shows, a third of the cost of
    // building the window, so the controls are made while the window's font stands in for the
    // application's. Dialogs and tool tips get the application's font back before they exist.
    const QFont application = QGuiApplication::font();
    QGuiApplication::setFont(font());
    const auto restore = qScopeGuard([&] { QGuiApplication::setFont(application); });
    CreateTable();
    CreatePanel();
  }

  // Every key reaches the window before the focused control (Esc, F2, F3).
  installEventFilter(this);
  setAcceptDrops(true);  // a formula file dropped on the window is read
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

  m_undo.setUndoLimit(kUndoLimit);
  move(Twips(100), Twips(100));
  MakeScreen();
  SetExplanationField(m_state.explanation);
  m_currentRow = 0;
  m_formula[0]->setFocus();
}

void frmCalculator::CreateTable() {
  const int top = 1365;
  BorderedLabel(this, QStringLiteral("Label1"), kHeaderCyan, Qt::AlignCenter,
                TwipsRect(150, top, 375, kRowHeightTwips))
      ->setText(texts::kNoHeader.toString());
  BorderedLabel(this, QStringLiteral("Label2"), kHeaderCyan, Qt::AlignCenter,
                TwipsRect(510, top, 7935, kRowHeightTwips))
      ->setText(texts::kFormulaHeader.toString());
  BorderedLabel(this, QStringLiteral("Label5"), kHeaderCyan, Qt::AlignCenter,
                TwipsRect(8430, top, 2745, kRowHeightTwips))
      ->setText(texts::kResultHeader.toString());

  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  auto* oneLine = new OneLineValidator(this);
  for (int i = 0; i < kVisibleRows; ++i) {
    const int rowTop = kRowTopTwips + kRowPitchTwips * i;
    const size_t k = static_cast<size_t>(i);
    m_number[k] = BorderedLabel(this, Indexed("lblNo", i), kHeaderCyan, right,
                                TwipsRect(150, rowTop, 375, kRowHeightTwips));
    m_number[k]->SetTextIndent(2);  // keeps the number off the cell's edge, like the results
    m_formula[k] =
        WhiteBox(this, Indexed("Formula", i), TwipsRect(510, rowTop, 7935, kRowHeightTwips));
    m_formula[k]->setMaxLength(std::numeric_limits<int>::max());
    m_formula[k]->setStyle(m_style);
    m_formula[k]->setValidator(oneLine);
    m_formula[k]->setAccessibleName(RowAccessibleName(i));
    m_suma[k] = BorderedLabel(this, Indexed("lblSuma", i), kWhite, right,
                              TwipsRect(8430, rowTop, 2745, kRowHeightTwips));
    m_suma[k]->setAccessibleName(ResultAccessibleName(i));
    m_resultBackground[k] = kWhite;
    if (i > 0) setTabOrder(m_formula[k - 1], m_formula[k]);
  }
}

QPushButton* frmCalculator::AddButton(const char* name, const QRect& geometry) {
  auto* button = new QPushButton(m_panel);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  button->setStyle(m_style);
  return button;
}

void frmCalculator::CreatePanel() {
  m_panel = new QFrame(this);
  m_panel->setObjectName(QStringLiteral("Picture1"));
  m_panel->setGeometry(TwipsRect(135, 0, 11025, 1245));
  // A click on the panel takes the focus from the row; a screen reader still names the stop.
  m_panel->setFocusPolicy(Qt::ClickFocus);
  m_panel->setAccessibleName(texts::kPanelName.toString());
  SetBackground(m_panel, kPanelCyan);

  QList<QWidget*> commandButtons;
  QList<QWidget*> functionButtons;

  const ButtonIcons icons(devicePixelRatioF());
  for (const FunctionButton& entry : FunctionButtons()) {
    QPushButton* button = AddButton(
        entry.name, TwipsRect(kColumnLeft[entry.gridColumn], kRowTop[entry.gridRow], 615, 255));
    button->setToolTip(entry.toolTip.toString());
    if (entry.icon) {
      button->setIcon(icons.Icon(*entry.icon));
      button->setIconSize(QSize(16, 16));
    } else {
      button->setText(entry.caption.toString());
    }
    button->setAccessibleName(FunctionAccessibleName(entry));
    const QString text = entry.text.toString();
    connect(button, &QPushButton::clicked, this, [this, text] { InsertAtCaret(text); });
    functionButtons.append(button);
  }

  int left = 6600;
  for (const CommandButton& entry : CommandButtons()) {
    QPushButton* button = AddButton(entry.name, TwipsRect(left, 60, 360, 360));
    button->setIcon(icons.Icon(entry.icon.value()));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(entry.toolTip.toString());
    button->setAccessibleName(CommandAccessibleName(entry));
    button->setAccessibleDescription(CommandAccessibleDescription(entry));
    connect(button, &QPushButton::clicked, this, [this, &entry] { Run(entry); });
    commandButtons.append(button);
    left += 360;
  }
  QPushButton* exit = AddButton(kExitButton.name, TwipsRect(9900, 60, 945, 360));
  exit->setText(texts::kExitCaption.toString());
  exit->setToolTip(kExitButton.toolTip.toString());
  exit->setAccessibleDescription(CommandAccessibleDescription(kExitButton));
  connect(exit, &QPushButton::clicked, this, [this] { Run(kExitButton); });
  commandButtons.append(exit);

  auto* label4 = new QLabel(texts::kExplanationCaption.toString(), m_panel);
  label4->setObjectName(QStringLiteral("Label4"));
  label4->move(Twips(6600), Twips(600));
  label4->adjustSize();
  m_txtH = WhiteBox(m_panel, QStringLiteral("txtH"), TwipsRect(6600, 850, 4260, 285));
  NameFieldByLabel(m_txtH, label4);
  m_txtH->setValidator(new OneLineValidator(m_txtH));
  // Every change goes to the state, which the file and the chart read; saving may change the
  // state's text alone (see TableState::explanation), so the field is never set from it then.
  connect(m_txtH, &QLineEdit::textChanged, this, [this](const QString& text) {
    TableSnapshot before = Snapshot();
    before.explanation = std::exchange(m_shownExplanation, text);
    m_state.explanation = FormulaLine(text);
    if (!m_showingState) PushChange(std::move(before), kExplanationStep, FieldMergeId(m_txtH));
    RunCommand(m_commands.tableChanged);
  });

  auto* label3 = new QLabel(texts::kRoundingCaption.toString(), m_panel);
  label3->setObjectName(QStringLiteral("Label3"));
  label3->move(Twips(8340), Twips(540));
  label3->adjustSize();
  m_txtR = WhiteBox(m_panel, QStringLiteral("txtR"), TwipsRect(10485, 510, 375, 285));
  NameFieldByLabel(m_txtR, label3);
  m_txtR->setText(QString::number(m_state.roundingDigits));
  connect(m_txtR, &QLineEdit::textChanged, this, &frmCalculator::RoundingChanged);

  ChainTabOrder(QList<QWidget*>{m_txtH, m_txtR} + commandButtons + functionButtons);
}

// Tab walks the rows, then the two fields, the commands and the function buttons last.
void frmCalculator::ChainTabOrder(const QList<QWidget*>& panelWidgets) {
  QWidget* previous = m_formula.back();
  for (QWidget* next : panelWidgets) {
    setTabOrder(previous, next);
    previous = next;
  }
}
