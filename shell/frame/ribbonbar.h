#pragma once
// The ribbon: the application button with its main panel and recent
// documents, the quick access toolbar, the category tabs with the Style
// menu and the help button, and one page of panels per category. All of it
// is built from BuildRibbonTable(); every element sends its command id
// through the router (only while enabled), and UpdateCommandUI gives every
// element the state the router's update handlers answer.
#include "shell/frame/commandrouter.h"
#include "shell/frame/ribbontable.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <map>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;

class CRibbonBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 59398;

    explicit CRibbonBar(CCommandRouter& router, QWidget* parent = nullptr);
    ~CRibbonBar() override;

    // --- categories
    int GetCategoryCount() const;
    QString GetCategoryName(int index) const;
    int GetActiveCategory() const;
    void SetActiveCategory(int index);

    // Every command id an element sends or shows (the recent documents
    // while listed), in increasing order, each once.
    std::vector<int> CommandIds() const;
    // --- elements of a command: every widget (or menu entry) that sends it.
    std::vector<QWidget*> ElementWidgets(int id) const;
    std::vector<QAction*> ElementActions(int id) const;
    QComboBox* FindCombo(int id) const;
    QLineEdit* FindEdit(int id) const;
    // The text of an edit or combo box (empty when there is none).
    QString GetEditText(int id) const;
    void SetEditText(int id, const QString& text);
    // The colour last chosen on a colour button (invalid when none was).
    QColor GetColour(int id) const;
    // Replaces the items of a combo box.
    void SetComboItems(int id, const QStringList& items);

    // The main panel of the application button, and its recent documents
    // (most recent first, at most ten shown).
    QMenu* ApplicationMenu() const { return m_appMenu; }
    QToolButton* ApplicationButton() const { return m_appButton; }
    void SetRecentFiles(const QStringList& paths);
    QStringList RecentFiles() const { return m_recent; }
    QMenu* StyleMenu() const { return m_styleMenu; }

    // Colours of the current look.
    void SetColours(const QColor& tabRow, const QColor& background);

    // One update pass: every element takes the state of its command.
    void UpdateCommandUI();
    // Forgets the values the boxes and check boxes show (texts emptied,
    // checks cleared), as when the project window they came from goes.
    void ClearValues();
    // Sends the command of a box that holds text the user typed and has not
    // sent yet, as leaving the box would. The router runs it before every
    // command, so a command reached otherwise than by leaving the box (a
    // shortcut, a menu, another ribbon element) finds what was typed taken.
    void ApplyTypedText();

signals:
    void activeCategoryChanged(int index);
    // A command was sent (after its handler ran).
    void commandSent(int id);

private:
    struct Element {
        int id = 0;
        RibbonKind kind = RibbonKind::Button;
        QPointer<QWidget> widget;
        QPointer<QAction> action;
    };

    void send(int id);
    // A box's command: its text becomes the one last sent.
    void sendBox(int id, QWidget* box, QLineEdit* edit);
    // The user typed into the box since its text was last shown or sent.
    static bool typedInto(const QLineEdit* edit);
    // Sends what was typed into the box, as leaving it does; `listed`: the
    // box already found the text among its items.
    void applyTyped(QWidget* box, bool listed);
    // A combo box's typed text made its item, as the box does when it is
    // left; false when the text names no item.
    static bool selectTypedItem(QComboBox* combo);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void buildTopRow(const std::vector<RibbonEntry>& table);
    void buildMainPanel(const std::vector<RibbonEntry>& table);
    void buildCategories(const std::vector<RibbonEntry>& table);
    QWidget* buildElement(const RibbonEntry& entry, QWidget* parent);
    QAction* addAction(QMenu* menu, int id, const QString& text, RibbonKind kind, int image);
    void registerWidget(int id, RibbonKind kind, QWidget* widget);
    void updateActions(const std::vector<QAction*>& actions);
    void applyState(const Element& element, const CCmdUI& state);

    CCommandRouter& m_router;
    std::vector<Element> m_elements;
    std::multimap<int, size_t> m_byId;
    std::map<int, QColor> m_colours;
    QStringList m_recent;
    QStringList m_categoryNames;
    QToolButton* m_appButton = nullptr;
    QMenu* m_appMenu = nullptr;
    QAction* m_recentSection = nullptr;
    std::vector<QAction*> m_recentActions;
    QMenu* m_styleMenu = nullptr;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_topRow = nullptr;
    // The box handling a key or a focus change whose command is sent after.
    QPointer<QWidget> m_boxInEvent;
    bool m_sentInEvent = false; // it asked for its command meanwhile
};
