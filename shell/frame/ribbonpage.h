#pragma once
// One category of the ribbon: its panels side by side. When the window is
// too narrow for all of them, panels collapse from the right into a button
// with the panel's name that opens the panel below it, as ribbons do; they
// come back as the window widens. The page never scrolls.
#include <QIcon>
#include <QWidget>

#include <vector>

class QFrame;
class QHBoxLayout;
class QToolButton;

class CRibbonPage : public QWidget {
    Q_OBJECT
public:
    explicit CRibbonPage(QWidget* parent = nullptr);

    // Appends a panel; `icon` is the picture of its collapsed button.
    void AddPanel(QFrame* panel, const QString& title, const QIcon& icon);
    // Lays the panels out for the page's width (also on every resize).
    void Relayout();

    int PanelCount() const { return int(m_panels.size()); }
    QFrame* Panel(int i) const { return m_panels[size_t(i)].frame; }
    bool IsCollapsed(int i) const { return m_panels[size_t(i)].collapsed; }
    QToolButton* CollapsedButton(int i) const { return m_panels[size_t(i)].button; }
    // Opens a collapsed panel below its button.
    void ShowCollapsedPanel(int i);
    // The width all panels need side by side.
    int ExpandedWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Entry {
        QFrame* frame = nullptr;
        QToolButton* button = nullptr;
        QWidget* popup = nullptr;
        bool collapsed = false;
        int width = 0; // the panel's own width, measured while shown
    };
    void setCollapsed(Entry& entry, bool collapsed);

    QHBoxLayout* m_layout = nullptr;
    std::vector<Entry> m_panels;
    bool m_relaying = false;
};
