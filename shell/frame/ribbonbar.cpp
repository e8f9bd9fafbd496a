#include "shell/frame/ribbonbar.h"

#include "platform/commandids.h"
#include "platform/numberformat.h"
#include "shell/frame/commandicons.h"
#include "shell/frame/looks.h"
#include "shell/frame/ribbonpage.h"
#include "shell/frame/ribbonicons.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kRowsPerColumn = 3;
constexpr int kDefaultEditWidth = 60;
constexpr int kSmallIcon = 16;
constexpr int kLargeIcon = 32;
constexpr int kMaxRecentShown = 10;
// The text a box was last given by an update or sent with its command.
constexpr char kShownText[] = "shownText";
// The user edited the text since (typing, pasting, or a completion of what
// was typed; a line edit's own modified flag goes with a completion).
constexpr char kTyped[] = "typed";

QString plain(const QString& text)
{
    return QString(text).remove(QLatin1Char('&'));
}

// What the ribbon calls command `id`: the text of its first element that
// has one (the quick access toolbar's own entries have none).
QString commandText(const std::vector<RibbonEntry>& table, int id)
{
    for (const RibbonEntry& entry : table)
        if (entry.id == id && !entry.text.isEmpty())
            return entry.text;
    return {};
}

// Boxes that show a length ("%g mm") and boxes that show a count: each is
// made wide enough for the longest such value in its font.
constexpr int kLengthBoxes[] = {
    cmd::kPaperWidth, cmd::kPaperHeight, cmd::kLabelWidth, cmd::kLabelHeight, cmd::kLabelRadius, cmd::kMarginTop,
    cmd::kMarginLeft, cmd::kPitchHorizontal, cmd::kPitchVertical, cmd::kBlockSpace, cmd::kHeaderWidth,
    cmd::kHeaderHeight, cmd::kHeaderTop, cmd::kHeaderLeft, cmd::kFooterWidth, cmd::kFooterHeight, cmd::kFooterTop,
    cmd::kFooterLeft, cmd::kStripWidth, cmd::kMaterialLength, cmd::kModuleLength, cmd::kModuleGap,
    cmd::kMarkingLeftMargin, cmd::kMarkingRightMargin, cmd::kSelectionX, cmd::kSelectionY, cmd::kSelectionWidth,
    cmd::kSelectionHeight, cmd::kHelpLineRows, cmd::kHelpLineColumns, cmd::kBarcodeModuleBox, cmd::kBarcodeHeightBox,
    cmd::kLineWidthBox, cmd::kCornerRadiusBox, cmd::kEngraveLineWidthBox};
constexpr int kCountBoxes[] = {
    cmd::kRows, cmd::kColumns, cmd::kBlockCount, cmd::kGotoMarker, cmd::kModuleTotal, cmd::kMarkerTotal,
    cmd::kCounterStart, cmd::kMinDigits, cmd::kDateOffset, cmd::kModulesToAddBox, cmd::kMultiplierBox};

bool stacksInColumns(RibbonKind kind)
{
    switch (kind) {
    case RibbonKind::Button:
    case RibbonKind::Check:
    case RibbonKind::Edit:
    case RibbonKind::Combo:
    case RibbonKind::FontCombo:
    case RibbonKind::Colour:
        return true;
    default:
        return false;
    }
}

// How many rows the columns of the run of small elements starting at
// `from` take: the run spread evenly over as few columns as the ribbon's
// three rows allow (four boxes stand two by two, not three and one).
int rowsForRun(const std::vector<RibbonEntry>& table, size_t from, int maxRows)
{
    int rows = 0;
    int group = 0;
    for (size_t i = from; i < table.size() && stacksInColumns(table[i].kind); ++i) {
        if (table[i].group != 0 && table[i].group == group)
            continue;
        group = table[i].group;
        ++rows;
    }
    if (rows <= maxRows)
        return maxRows;
    const int columns = (rows + maxRows - 1) / maxRows;
    return (rows + columns - 1) / columns;
}

QString longestValue(int id)
{
    if (std::find(std::begin(kLengthBoxes), std::end(kLengthBoxes), id) != std::end(kLengthBoxes))
        return QStringLiteral("-888") + QChar::fromLatin1(CurrentNumberLocale().decimalSeparator) + QStringLiteral("888 mm");
    if (std::find(std::begin(kCountBoxes), std::end(kCountBoxes), id) != std::end(kCountBoxes))
        return QStringLiteral("888888");
    return {};
}

// The width of a box's text field: its given width, widened to show its
// longest value and every item of its list.
int fieldWidth(QWidget* field, const RibbonEntry& entry, int given)
{
    const QFontMetrics metrics = field->fontMetrics();
    int text = metrics.horizontalAdvance(longestValue(entry.id));
    for (const QString& item : entry.items)
        text = std::max(text, metrics.horizontalAdvance(item));
    // The line edit's frame and text margins.
    const int frame = 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    return std::max(given, text + frame);
}

} // namespace

CRibbonBar::CRibbonBar(CCommandRouter& router, QWidget* parent) : QWidget(parent), m_router(router)
{
    setObjectName(QStringLiteral("ribbon"));
    setAutoFillBackground(true);
    const std::vector<RibbonEntry> table = BuildRibbonTable();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMainPanel(table);
    buildTopRow(table);
    layout->addWidget(m_topRow);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("ribbonPages"));
    layout->addWidget(m_pages);
    buildCategories(table);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        m_pages->setCurrentIndex(index);
        emit activeCategoryChanged(index);
    });
    m_router.SetPendingInputHandler([this] { ApplyTypedText(); });
}

CRibbonBar::~CRibbonBar()
{
    m_router.SetPendingInputHandler({});
    // The boxes go after this part of the bar: nothing is sent while they do.
    for (const Element& element : m_elements)
        if (QWidget* widget = element.widget) {
            widget->removeEventFilter(this);
            if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
                combo->lineEdit()->removeEventFilter(this);
        }
}

void CRibbonBar::buildMainPanel(const std::vector<RibbonEntry>& table)
{
    m_appMenu = new QMenu(this);
    m_appMenu->setObjectName(QStringLiteral("applicationMenu"));
    QMenu* sub = nullptr;
    for (const RibbonEntry& entry : table) {
        switch (entry.kind) {
        case RibbonKind::MainButton: {
            // A command with sub-items becomes a submenu (see the sub-items
            // below); alone it is a plain entry.
            addAction(m_appMenu, entry.id, entry.text, entry.kind, entry.image);
            sub = nullptr;
            break;
        }
        case RibbonKind::MainSubLabel:
        case RibbonKind::MainSubButton: {
            if (!sub) {
                // The last entry gets a submenu that holds it as well, so
                // its own command stays reachable.
                QAction* owner = m_appMenu->actions().back();
                sub = new QMenu(owner->text(), m_appMenu);
                sub->setIcon(owner->icon());
                const int ownerId = owner->data().toInt();
                bool listed = false;
                for (auto it = &entry; it != table.data() + table.size(); ++it) {
                    if (it->kind != RibbonKind::MainSubLabel && it->kind != RibbonKind::MainSubButton)
                        break;
                    listed = listed || it->id == ownerId;
                }
                if (!listed)
                    addAction(sub, ownerId, owner->text(), RibbonKind::MainButton, -1);
                owner->setMenu(sub);
            }
            if (entry.kind == RibbonKind::MainSubLabel)
                sub->addSection(entry.text);
            else
                addAction(sub, entry.id, entry.text, entry.kind, entry.image);
            break;
        }
        case RibbonKind::MainSeparator:
            m_appMenu->addSeparator();
            sub = nullptr;
            break;
        case RibbonKind::RecentList:
            m_recentSection = m_appMenu->addSection(entry.text);
            m_appMenu->setMinimumWidth(entry.width);
            sub = nullptr;
            break;
        case RibbonKind::MainBottomButton:
            if (m_appMenu->actions().back() != m_recentSection && !m_recentActions.empty())
                m_appMenu->addSeparator();
            addAction(m_appMenu, entry.id, entry.text, entry.kind, entry.image);
            sub = nullptr;
            break;
        default:
            break;
        }
    }
    // Menus are as wide as their entries, not their headings: make room for
    // the headings too.
    for (QMenu* menu : m_appMenu->findChildren<QMenu*>()) {
        int widest = 0;
        for (const QAction* action : menu->actions())
            if (action->isSeparator() && !action->text().isEmpty())
                widest = std::max(widest, menu->fontMetrics().horizontalAdvance(action->text()));
        if (widest > 0) {
            const int margins = 2 * (menu->style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, menu) +
                                     menu->style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, menu));
            menu->setMinimumWidth(widest + margins + 2 * menu->fontMetrics().averageCharWidth());
        }
    }
    connect(m_appMenu, &QMenu::aboutToShow, this, [this] {
        std::vector<QAction*> all;
        for (const Element& e : m_elements)
            if (e.action)
                all.push_back(e.action);
        updateActions(all);
    });
}

void CRibbonBar::buildTopRow(const std::vector<RibbonEntry>& table)
{
    m_topRow = new QWidget(this);
    m_topRow->setObjectName(QStringLiteral("ribbonTabRow"));
    m_topRow->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(m_topRow);
    row->setContentsMargins(2, 2, 2, 0);
    row->setSpacing(2);

    for (const RibbonEntry& entry : table) {
        switch (entry.kind) {
        case RibbonKind::AppButton: {
            m_appButton = new QToolButton(m_topRow);
            m_appButton->setObjectName(QStringLiteral("applicationButton"));
            m_appButton->setText(entry.text);
            m_appButton->setMinimumSize(entry.width, 24);
            m_appButton->setPopupMode(QToolButton::InstantPopup);
            m_appButton->setMenu(m_appMenu);
            m_appButton->setShortcut(QKeySequence(QStringLiteral("Alt+") + entry.keyTips.toUpper()));
            m_appButton->setProperty("keyTips", entry.keyTips);
            QFont bold = m_appButton->font();
            bold.setBold(true);
            m_appButton->setFont(bold);
            row->addWidget(m_appButton);
            break;
        }
        case RibbonKind::QuickAccess: {
            auto* button = new QToolButton(m_topRow);
            button->setAutoRaise(true);
            button->setIcon(RibbonIcon(entry.id, QString(), kSmallIcon));
            button->setIconSize(QSize(kSmallIcon, kSmallIcon));
            button->setProperty("commandId", entry.id);
            button->setProperty("quickAccess", true);
            button->setToolTip(plain(commandText(table, entry.id)));
            connect(button, &QToolButton::clicked, this, [this, id = entry.id] { send(id); });
            registerWidget(entry.id, entry.kind, button);
            row->addWidget(button);
            break;
        }
        default:
            break;
        }
    }
    auto* gap = new QFrame(m_topRow);
    gap->setFrameShape(QFrame::VLine);
    row->addWidget(gap);

    m_tabs = new QTabBar(m_topRow);
    m_tabs->setObjectName(QStringLiteral("ribbonCategories"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    row->addWidget(m_tabs, 0, Qt::AlignBottom);
    row->addStretch(1);

    for (const RibbonEntry& entry : table) {
        if (entry.kind == RibbonKind::StyleButton) {
            auto* style = new QToolButton(m_topRow);
            style->setObjectName(QStringLiteral("styleButton"));
            style->setText(entry.text);
            style->setToolTip(entry.toolTip);
            style->setStatusTip(entry.extra);
            style->setAutoRaise(true);
            style->setPopupMode(QToolButton::InstantPopup);
            m_styleMenu = new QMenu(style);
            for (qsizetype i = 0; i < entry.items.size() && size_t(i) < entry.itemIds.size(); ++i) {
                QAction* action = addAction(m_styleMenu, entry.itemIds[size_t(i)], entry.items[i],
                                            RibbonKind::Button, -1);
                action->setCheckable(true);
            }
            connect(m_styleMenu, &QMenu::aboutToShow, this, [this] {
                const QList<QAction*> actions = m_styleMenu->actions();
                updateActions(std::vector<QAction*>(actions.begin(), actions.end()));
            });
            style->setMenu(m_styleMenu);
            row->addWidget(style);
        } else if (entry.kind == RibbonKind::HelpButton) {
            auto* help = new QToolButton(m_topRow);
            help->setObjectName(QStringLiteral("helpButton"));
            help->setAutoRaise(true);
            help->setToolTip(entry.text);
            help->setIcon(RibbonIcon(entry.id, QStringLiteral("?"), kSmallIcon));
            help->setProperty("commandId", entry.id);
            help->setProperty("keyTips", entry.keyTips);
            connect(help, &QToolButton::clicked, this, [this, id = entry.id] { send(id); });
            registerWidget(entry.id, entry.kind, help);
            row->addWidget(help);
        }
    }
}

void CRibbonBar::buildCategories(const std::vector<RibbonEntry>& table)
{
    CRibbonPage* page = nullptr;
    struct PendingPanel {
        QFrame* frame;
        QString title;
    };
    std::vector<PendingPanel> panels; // of the current page
    QHBoxLayout* columns = nullptr;   // of the current panel
    QVBoxLayout* column = nullptr;
    int rows = 0;
    int lastGroup = 0;
    QHBoxLayout* groupRow = nullptr;

    auto endColumn = [&] {
        if (column)
            column->addStretch(1);
        column = nullptr;
        rows = 0;
        lastGroup = 0;
        groupRow = nullptr;
    };
    auto newColumn = [&] {
        endColumn();
        column = new QVBoxLayout;
        column->setSpacing(1);
        columns->addLayout(column);
    };
    auto endPage = [&] {
        endColumn();
        // The panels join the page whole, so that it knows their widths;
        // a collapsed panel shows the picture of its first command.
        for (const PendingPanel& panel : panels) {
            QIcon icon;
            for (const QToolButton* button : panel.frame->findChildren<QToolButton*>())
                if (!button->icon().isNull()) {
                    icon = button->icon();
                    break;
                }
            page->AddPanel(panel.frame, panel.title, icon.isNull() ? PanelPicture() : icon);
        }
        panels.clear();
    };

    int runRows = kRowsPerColumn;
    for (size_t index = 0; index < table.size(); ++index) {
        const RibbonEntry& entry = table[index];
        if (stacksInColumns(entry.kind) && (index == 0 || !stacksInColumns(table[index - 1].kind)))
            runRows = rowsForRun(table, index, kRowsPerColumn);
        switch (entry.kind) {
        case RibbonKind::Category: {
            endPage();
            m_categoryNames << plain(entry.text);
            m_tabs->addTab(entry.text);
            page = new CRibbonPage(m_pages);
            page->setProperty("category", plain(entry.text));
            m_pages->addWidget(page);
            columns = nullptr;
            break;
        }
        case RibbonKind::Panel: {
            endColumn();
            auto* frame = new QFrame(page);
            frame->setObjectName(QStringLiteral("ribbonPanel"));
            frame->setProperty("panel", entry.text);
            frame->setProperty("keyTips", entry.keyTips);
            frame->setFrameShape(QFrame::StyledPanel);
            auto* outer = new QVBoxLayout(frame);
            outer->setContentsMargins(4, 3, 4, 1);
            outer->setSpacing(1);
            columns = new QHBoxLayout;
            columns->setSpacing(4);
            outer->addLayout(columns, 1);
            auto* title = new QLabel(entry.text, frame);
            title->setAlignment(Qt::AlignCenter);
            title->setEnabled(false);
            outer->addWidget(title);
            panels.push_back({frame, entry.text});
            break;
        }
        case RibbonKind::Separator:
            if (columns) {
                endColumn();
                auto* line = new QFrame(page);
                line->setFrameShape(QFrame::VLine);
                line->setFrameShadow(QFrame::Sunken);
                columns->addWidget(line);
            }
            break;
        case RibbonKind::LargeButton:
            if (columns) {
                endColumn();
                columns->addWidget(buildElement(entry, page));
            }
            break;
        case RibbonKind::Button:
        case RibbonKind::Check:
        case RibbonKind::Edit:
        case RibbonKind::Combo:
        case RibbonKind::FontCombo:
        case RibbonKind::Colour: {
            if (!columns)
                break;
            QWidget* widget = buildElement(entry, page);
            if (entry.group != 0 && entry.group == lastGroup && groupRow) {
                groupRow->insertWidget(groupRow->count() - 1, widget); // before the stretch
                break;
            }
            if (!column || rows >= runRows)
                newColumn();
            ++rows;
            if (entry.group != 0) {
                groupRow = new QHBoxLayout;
                groupRow->setSpacing(0);
                groupRow->addWidget(widget);
                groupRow->addStretch(1);
                column->addLayout(groupRow);
                lastGroup = entry.group;
            } else {
                column->addWidget(widget, 0, Qt::AlignLeft);
                lastGroup = 0;
                groupRow = nullptr;
            }
            break;
        }
        default:
            break;
        }
    }
    endPage();

    // Every page fits; narrow windows collapse panels instead of scrolling.
    int height = 0;
    for (int i = 0; i < m_pages->count(); ++i)
        height = std::max(height, m_pages->widget(i)->sizeHint().height());
    m_pages->setFixedHeight(height);
}

QWidget* CRibbonBar::buildElement(const RibbonEntry& entry, QWidget* parent)
{
    const int id = entry.id;
    switch (entry.kind) {
    case RibbonKind::LargeButton:
    case RibbonKind::Button: {
        auto* button = new QToolButton(parent);
        const bool largeButton = entry.kind == RibbonKind::LargeButton;
        button->setAutoRaise(true);
        button->setText(entry.text);
        button->setIcon(RibbonIcon(id, entry.text, largeButton ? kLargeIcon : kSmallIcon));
        button->setIconSize(largeButton ? QSize(kLargeIcon, kLargeIcon) : QSize(kSmallIcon, kSmallIcon));
        // Members of a button group show only their picture.
        button->setToolButtonStyle(largeButton ? Qt::ToolButtonTextUnderIcon
                                   : entry.group ? Qt::ToolButtonIconOnly
                                                 : Qt::ToolButtonTextBesideIcon);
        button->setToolTip(plain(entry.text));
        connect(button, &QToolButton::clicked, this, [this, id] { send(id); });
        registerWidget(id, entry.kind, button);
        return button;
    }
    case RibbonKind::Check: {
        auto* box = new QCheckBox(entry.text, parent);
        connect(box, &QCheckBox::clicked, this, [this, id] { send(id); });
        registerWidget(id, entry.kind, box);
        return box;
    }
    case RibbonKind::Edit:
    case RibbonKind::Combo:
    case RibbonKind::FontCombo: {
        auto* holder = new QWidget(parent);
        auto* row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(3);
        if (!entry.text.isEmpty())
            row->addWidget(new QLabel(entry.text, holder));
        QWidget* field = nullptr;
        if (entry.kind == RibbonKind::Edit) {
            auto* edit = new QLineEdit(holder);
            edit->setFixedWidth(fieldWidth(edit, entry, entry.width > 0 ? entry.width : kDefaultEditWidth));
            connect(edit, &QLineEdit::returnPressed, this, [this, id, edit] { sendBox(id, edit, edit); });
            field = edit;
        } else if (entry.kind == RibbonKind::FontCombo) {
            auto* fonts = new QFontComboBox(holder);
            fonts->setFixedWidth(140);
            connect(fonts, &QComboBox::activated, this, [this, id, fonts] { sendBox(id, fonts, fonts->lineEdit()); });
            field = fonts;
        } else {
            auto* combo = new QComboBox(holder);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems(entry.items);
            combo->setCurrentIndex(-1);
            // The width is the edit field's; the arrow comes on top.
            const int arrow = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6;
            combo->setFixedWidth(fieldWidth(combo, entry, entry.width > 0 ? entry.width : kDefaultEditWidth) + arrow);
            // Return is sent by eventFilter.
            connect(combo, &QComboBox::activated, this, [this, id, combo] { sendBox(id, combo, combo->lineEdit()); });
            field = combo;
        }
        // Leaving the box applies what was typed into it (eventFilter).
        field->installEventFilter(this);
        QLineEdit* typing = qobject_cast<QLineEdit*>(field);
        if (auto* combo = qobject_cast<QComboBox*>(field)) {
            combo->lineEdit()->installEventFilter(this);
            typing = combo->lineEdit();
        }
        connect(typing, &QLineEdit::textEdited, this, [typing] { typing->setProperty(kTyped, true); });
        field->setObjectName(QStringLiteral("field%1").arg(id));
        row->addWidget(field);
        registerWidget(id, entry.kind, field);
        return holder;
    }
    case RibbonKind::Colour: {
        auto* button = new QToolButton(parent);
        button->setAutoRaise(true);
        button->setText(entry.text);
        button->setIcon(RibbonIcon(id, entry.text, kSmallIcon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        auto* menu = new QMenu(button);
        for (const QString& name : entry.items) {
            QPixmap swatch(14, 14);
            swatch.fill(QColor(name));
            QAction* a = menu->addAction(QIcon(swatch), name);
            connect(a, &QAction::triggered, this, [this, id, name] {
                m_colours[id] = QColor(name);
                send(id);
            });
        }
        QAction* other = menu->addAction(entry.extra + QStringLiteral("..."));
        connect(other, &QAction::triggered, this, [this, id] {
            const QColor chosen = QColorDialog::getColor(m_colours.count(id) ? m_colours[id] : Qt::black, this);
            if (chosen.isValid()) {
                m_colours[id] = chosen;
                send(id);
            }
        });
        button->setMenu(menu);
        connect(button, &QToolButton::clicked, this, [this, id] { send(id); });
        registerWidget(id, entry.kind, button);
        return button;
    }
    default:
        return new QWidget(parent);
    }
}

QAction* CRibbonBar::addAction(QMenu* menu, int id, const QString& text, RibbonKind kind, int image)
{
    QAction* action = menu->addAction(text);
    action->setData(id);
    if (image >= 0)
        action->setIcon(RibbonIcon(id, text, kSmallIcon));
    connect(action, &QAction::triggered, this, [this, id] { send(id); });
    Element element;
    element.id = id;
    element.kind = kind;
    element.action = action;
    m_byId.emplace(id, m_elements.size());
    m_elements.push_back(element);
    return action;
}

void CRibbonBar::registerWidget(int id, RibbonKind kind, QWidget* widget)
{
    widget->setProperty("commandId", id);
    Element element;
    element.id = id;
    element.kind = kind;
    element.widget = widget;
    m_byId.emplace(id, m_elements.size());
    m_elements.push_back(element);
}

void CRibbonBar::send(int id)
{
    m_router.Execute(id);
    emit commandSent(id);
}

void CRibbonBar::sendBox(int id, QWidget* box, QLineEdit* edit)
{
    // While the box handles a key or the focus leaving it, a combo box
    // reports a typed item as chosen (and Return as well): the command is
    // sent once, after that (eventFilter).
    if (box == m_boxInEvent) {
        m_sentInEvent = true;
        return;
    }
    if (edit) {
        edit->setProperty(kTyped, false);
        edit->setProperty(kShownText, edit->text());
    }
    send(id);
}

bool CRibbonBar::typedInto(const QLineEdit* edit)
{
    return edit && edit->property(kTyped).toBool() && edit->text() != edit->property(kShownText).toString();
}

bool CRibbonBar::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QWidget*>(watched);
    // A combo box's edit field: the combo box is the box.
    if (box && qobject_cast<QComboBox*>(box->parentWidget()))
        box = box->parentWidget();
    if (!box || m_boxInEvent || !box->property("commandId").isValid())
        return QWidget::eventFilter(watched, event);
    auto* combo = qobject_cast<QComboBox*>(box);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(box);
    bool leaving = false;
    if (event->type() == QEvent::FocusOut) {
        // Tab, Shift+Tab or a click elsewhere; not a popup opening nor
        // another window coming to the front, after which the box still
        // holds the focus of this one.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        leaving = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && typedInto(edit);
    }
    // A collapsed panel's popup closing takes the box with it: the box is
    // left, though the focus goes back to the main window as from any popup.
    if (event->type() == QEvent::Hide && box->window()->windowType() == Qt::Popup) {
        if (typedInto(edit))
            applyTyped(box, false);
        return QWidget::eventFilter(watched, event);
    }
    bool enter = false;
    if (event->type() == QEvent::KeyPress && combo && !qobject_cast<QFontComboBox*>(combo)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        enter = (key == Qt::Key_Return || key == Qt::Key_Enter) && !combo->view()->isVisible();
    }
    if (!leaving && !enter)
        return QWidget::eventFilter(watched, event);
    // The box first takes the event as it would (a combo box makes a typed
    // item its current one), then the command goes once, with the focus
    // still on the way out: the view it goes to has not taken it yet.
    QPointer<QWidget> guard(box);
    m_boxInEvent = box;
    m_sentInEvent = false;
    QCoreApplication::sendEvent(watched, event);
    m_boxInEvent = nullptr;
    if (guard)
        applyTyped(box, m_sentInEvent);
    return true;
}

void CRibbonBar::applyTyped(QWidget* box, bool listed)
{
    auto* combo = qobject_cast<QComboBox*>(box);
    QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(box);
    if (combo && selectTypedItem(combo))
        listed = true;
    // A typeface goes only when the box found it among its fonts, as on
    // Return: another text names no font.
    if (qobject_cast<QFontComboBox*>(box) && !listed)
        return;
    sendBox(box->property("commandId").toInt(), box, edit);
}

bool CRibbonBar::selectTypedItem(QComboBox* combo)
{
    QLineEdit* edit = combo->lineEdit();
    if (!edit || edit->text().isEmpty())
        return false;
    // Letter case counts unless the box completes without regard to it.
    Qt::MatchFlags flags = Qt::MatchFixedString;
    if (!edit->completer() || edit->completer()->caseSensitivity() == Qt::CaseSensitive)
        flags |= Qt::MatchCaseSensitive;
    const int index = combo->findText(edit->text(), flags);
    if (index < 0)
        return false;
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
    if (edit->text() != combo->itemText(index))
        edit->setText(combo->itemText(index));
    return true;
}

void CRibbonBar::ApplyTypedText()
{
    // Sending may change the elements (a saved project joins the recent
    // documents): the boxes first.
    std::vector<QPointer<QWidget>> boxes;
    for (const Element& element : m_elements)
        if (element.widget && (element.kind == RibbonKind::Edit || element.kind == RibbonKind::Combo ||
                               element.kind == RibbonKind::FontCombo))
            boxes.push_back(element.widget);
    for (const QPointer<QWidget>& box : boxes) {
        if (!box)
            continue;
        auto* combo = qobject_cast<QComboBox*>(box.data());
        if (typedInto(combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(box.data())))
            applyTyped(box, false);
    }
}

int CRibbonBar::GetCategoryCount() const
{
    return m_tabs->count();
}

QString CRibbonBar::GetCategoryName(int index) const
{
    return index >= 0 && index < m_categoryNames.size() ? m_categoryNames[index] : QString();
}

int CRibbonBar::GetActiveCategory() const
{
    return m_tabs->currentIndex();
}

void CRibbonBar::SetActiveCategory(int index)
{
    if (index >= 0 && index < m_tabs->count())
        m_tabs->setCurrentIndex(index);
}

std::vector<int> CRibbonBar::CommandIds() const
{
    std::vector<int> ids;
    for (const auto& [id, index] : m_byId)
        if (id != 0 && (m_elements[index].widget || m_elements[index].action) && (ids.empty() || ids.back() != id))
            ids.push_back(id);
    return ids;
}

std::vector<QWidget*> CRibbonBar::ElementWidgets(int id) const
{
    std::vector<QWidget*> out;
    const auto [first, last] = m_byId.equal_range(id);
    for (auto it = first; it != last; ++it)
        if (QWidget* w = m_elements[it->second].widget)
            out.push_back(w);
    return out;
}

std::vector<QAction*> CRibbonBar::ElementActions(int id) const
{
    std::vector<QAction*> out;
    const auto [first, last] = m_byId.equal_range(id);
    for (auto it = first; it != last; ++it)
        if (QAction* a = m_elements[it->second].action)
            out.push_back(a);
    return out;
}

QComboBox* CRibbonBar::FindCombo(int id) const
{
    for (QWidget* w : ElementWidgets(id))
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo;
    return nullptr;
}

QLineEdit* CRibbonBar::FindEdit(int id) const
{
    for (QWidget* w : ElementWidgets(id)) {
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit;
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->lineEdit();
    }
    return nullptr;
}

QString CRibbonBar::GetEditText(int id) const
{
    const QLineEdit* edit = FindEdit(id);
    return edit ? edit->text() : QString();
}

void CRibbonBar::SetEditText(int id, const QString& text)
{
    if (QLineEdit* edit = FindEdit(id)) {
        if (edit->text() != text)
            edit->setText(text);
        edit->setProperty(kTyped, false);
        edit->setProperty(kShownText, text);
    }
}

QColor CRibbonBar::GetColour(int id) const
{
    const auto it = m_colours.find(id);
    return it == m_colours.end() ? QColor() : it->second;
}

void CRibbonBar::SetComboItems(int id, const QStringList& items)
{
    if (QComboBox* combo = FindCombo(id)) {
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(-1);
        if (QLineEdit* edit = combo->lineEdit())
            edit->setProperty(kShownText, edit->text());
    }
}

void CRibbonBar::SetRecentFiles(const QStringList& paths)
{
    m_recent = paths.mid(0, kMaxRecentShown);
    for (QAction* action : m_recentActions) {
        for (auto it = m_byId.begin(); it != m_byId.end();) {
            if (m_elements[it->second].action == action)
                it = m_byId.erase(it);
            else
                ++it;
        }
        delete action;
    }
    m_recentActions.clear();
    // The entries go right after the section heading, in order.
    const QList<QAction*> all = m_appMenu->actions();
    const qsizetype at = all.indexOf(m_recentSection);
    QAction* before = at >= 0 && at + 1 < all.size() ? all[at + 1] : nullptr;
    for (int i = 0; i < m_recent.size(); ++i) {
        const int id = cmd::kFileMruFirst + i;
        auto* action = new QAction(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(QFileInfo(m_recent[i]).fileName()),
                                   m_appMenu);
        action->setData(id);
        action->setToolTip(m_recent[i]);
        connect(action, &QAction::triggered, this, [this, id] { send(id); });
        m_appMenu->insertAction(before, action);
        Element element;
        element.id = id;
        element.kind = RibbonKind::RecentList;
        element.action = action;
        m_byId.emplace(id, m_elements.size());
        m_elements.push_back(element);
        m_recentActions.push_back(action);
    }
}

void CRibbonBar::SetColours(const QColor& tabRow, const QColor& background)
{
    QPalette rowPalette = m_topRow->palette();
    rowPalette.setColor(QPalette::Window, tabRow);
    // Category captions and the row's buttons stay readable on dark rows:
    // File, Style and the quick access toolbar are drawn in the row's
    // colour (not the light buttons of the look), at rest, hovered and held
    // down alike.
    const QColor text = looks::TextColourOn(tabRow);
    rowPalette.setColor(QPalette::WindowText, text);
    looks::SetButtonColours(rowPalette, tabRow);
    rowPalette.setColor(QPalette::ButtonText, text);
    // The pictures on the tab row too.
    for (QToolButton* button : m_topRow->findChildren<QToolButton*>())
        if (const QVariant id = button->property("commandId"); id.isValid())
            button->setIcon(RibbonIcon(id.toInt(), QString(), kSmallIcon, text));
    m_topRow->setPalette(rowPalette);
    QPalette pagePalette = palette();
    pagePalette.setColor(QPalette::Window, background);
    setPalette(pagePalette);
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setAutoFillBackground(false);
}

void CRibbonBar::applyState(const Element& element, const CCmdUI& state)
{
    if (QAction* action = element.action) {
        action->setEnabled(state.IsEnabled());
        if (state.GetChecked()) {
            action->setCheckable(true);
            action->setChecked(*state.GetChecked());
        }
        if (state.GetText() && element.kind != RibbonKind::RecentList)
            action->setText(*state.GetText());
        return;
    }
    QWidget* widget = element.widget;
    if (!widget)
        return;
    if (widget->isEnabled() != state.IsEnabled())
        widget->setEnabled(state.IsEnabled());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (state.GetChecked()) {
            if (!button->isCheckable())
                button->setCheckable(true);
            if (button->isChecked() != *state.GetChecked())
                button->setChecked(*state.GetChecked());
        } else if (button->isCheckable() && element.kind != RibbonKind::Check) {
            button->setChecked(false);
        }
        if (state.GetText() && element.kind == RibbonKind::Check && button->text() != *state.GetText())
            button->setText(*state.GetText());
        return;
    }
    // Boxes: the text unless the user is typing in it.
    if (state.GetText() && !widget->hasFocus() && !widget->isAncestorOf(QApplication::focusWidget()))
        SetEditText(element.id, *state.GetText());
}

void CRibbonBar::ClearValues()
{
    for (const Element& element : m_elements) {
        QWidget* widget = element.widget;
        if (!widget)
            continue;
        switch (element.kind) {
        case RibbonKind::Check:
            if (auto* box = qobject_cast<QAbstractButton*>(widget))
                box->setChecked(false);
            break;
        case RibbonKind::Edit:
        case RibbonKind::Combo:
        case RibbonKind::FontCombo:
            // Even the box the user typed into last: what it shows belongs
            // to the window that went.
            SetEditText(element.id, QString());
            break;
        default:
            break;
        }
    }
}

void CRibbonBar::updateActions(const std::vector<QAction*>& actions)
{
    for (QAction* action : actions) {
        const int id = action->data().toInt();
        if (id == 0 || action->menu())
            continue;
        for (const Element& element : m_elements)
            if (element.action == action)
                applyState(element, m_router.Update(id));
    }
}

void CRibbonBar::UpdateCommandUI()
{
    // Menu entries are brought up to date when their menu opens; here the
    // visible widgets, one router question per command.
    std::map<int, CCmdUI> states;
    for (const Element& element : m_elements) {
        if (!element.widget)
            continue;
        auto it = states.find(element.id);
        if (it == states.end())
            it = states.emplace(element.id, m_router.Update(element.id)).first;
        applyState(element, it->second);
    }
}
