#pragma once
// The page of one table tab: the table view with its link on the command
// route, which becomes the project window's active view when the table
// view takes the focus. "Show windows stacked" passes on to the main view.
#include "shell/views/projectviewcontext.h"

#include <QWidget>

#include <memory>

class CTableViewCommandTarget;
class CTableViewHost;
class CVorteplanSoftMainView;
class CVorteplanSoftTableView;

class CTablePage : public QWidget {
    Q_OBJECT
public:
    // `host` and `mainView` may be null.
    CTablePage(const CProjectViewContext& context, CTableViewHost* host, CVorteplanSoftMainView* mainView,
               QWidget* parent = nullptr);
    ~CTablePage() override;

    CVorteplanSoftTableView* GetTableView() const { return m_view; }
    // The table view becomes the project window's active view and takes the
    // focus, as when its tab is chosen.
    void Activate();
    CTableViewCommandTarget* GetCommandTarget() const { return m_target.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CProjectViewContext m_context;
    CVorteplanSoftTableView* m_view = nullptr;
    std::unique_ptr<CTableViewCommandTarget> m_target;
};
