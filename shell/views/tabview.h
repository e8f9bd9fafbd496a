#pragma once
// A row of tabs over a stack of pages, one page per tab. Pages are made
// when their tab is first shown (CreatePage), so a project of hundreds of
// tabs opens quickly.
//
// Only the user's choice of a tab runs OnActivateView by itself. Inserting,
// removing and selecting tabs from code runs with the tab bar's signals
// blocked; the caller then runs the activation once, explicitly, when it
// wants it. So removing a tab can never activate the add tab by accident.
//
// A text wider than a tab shows is cut with an ellipsis once, when it is
// set: the tab bar measures its tabs again on every insertion, and a
// project may name its tabs with texts of tens of thousands of characters.
#include <QPointer>
#include <QWidget>

#include <vector>

class QStackedWidget;
class QTabBar;

class CTabView : public QWidget {
    Q_OBJECT
public:
    explicit CTabView(QWidget* parent = nullptr);
    ~CTabView() override;

    QTabBar* TabBar() const { return m_tabBar; }
    int GetTabCount() const;
    int GetActiveTab() const;
    // The whole text, also when the tab shows it cut.
    QString GetTabText(int index) const;
    void SetTabText(int index, const QString& text);
    // Characters a tab shows at most (of average width).
    static constexpr int kMaxShownChars = 40;
    // How many texts were measured to be cut (each once when set).
    int MeasuredTexts() const { return m_measured; }
    // The page of a tab; made now when it was not yet. Null outside the tabs.
    QWidget* GetPage(int index);
    // The page when it exists already.
    QWidget* PeekPage(int index) const;

    // Inserts a tab (index clamped to 0..count); its page comes later.
    void InsertTab(int index, const QString& text);
    // Removes a tab; its page is deleted once control returns to the event
    // loop, never inside its own handlers.
    void RemoveTab(int index);
    // Selects a tab and shows its page, without running the activation.
    void SetActiveTab(int index);
    // Runs the activation for the active tab again, later (queued).
    void PostReactivate();

protected:
    // Makes the page of tab `index`.
    virtual QWidget* CreatePage(int index) = 0;
    // The active tab changed (or was chosen again) by the user, or the
    // activation is run explicitly.
    virtual void OnActivateView(int index) = 0;
    // Shows the page of the active tab.
    void ShowActivePage();
    // Tab `index` is about to show its page (made now when it is new).
    virtual void PageAboutToShow(int /*index*/) {}

private:
    void userChanged(int index);
    // The text as the tab shows it.
    QString shownText(const QString& text);

    QTabBar* m_tabBar = nullptr;
    QStackedWidget* m_stack = nullptr;
    std::vector<QPointer<QWidget>> m_pages;
    std::vector<QString> m_texts; // whole, one per tab
    int m_measured = 0;
};
