#pragma once
// What the views of one project window share: the document, the command
// route and the frame's ribbon and menus, how a view becomes the window's
// active view, and how the pages make the views that come from elsewhere
// (the design canvas, the table view). Every member may be empty (tests).
#include <functional>

class CCmdTarget;
class CCommandRouter;
class CContextMenuManager;
class CRibbonBar;
class CTableViewHost;
class CVorteplanSoftLabelDoc;
class QWidget;

struct CProjectViewContext {
    CVorteplanSoftLabelDoc* document = nullptr;
    CCommandRouter* router = nullptr;
    CRibbonBar* ribbon = nullptr;
    CContextMenuManager* menus = nullptr;
    // Makes a view the active view of the project window (the first link
    // of the command route).
    std::function<void(CCmdTarget* view)> activate;
    // A view that goes: it stops being the active view if it was.
    std::function<void(CCmdTarget* view)> deactivate;
    // The design canvas of a label view; without it a plain widget stands in.
    std::function<QWidget*(QWidget* parent)> createCanvas;
    // The area (0 label, 1 header, 2 footer) a canvas shows.
    std::function<int(QWidget* canvas)> canvasArea;
    // What the table views ask of the application; without it table tabs
    // show an empty page.
    CTableViewHost* tableHost = nullptr;
};
