#pragma once
// One image slot of the link-image dialog: shows the picture named by the
// cell of image column n in the table view's current row. Delete clears
// the cell; files dropped from the desktop (text/uri-list, local files) are
// handed to the dialog through filesDropped.
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

class CImageBase;
class CVorteplanSoftTableView;

class CImageWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFocusFrame = 3;

    // `view` is not owned and outlives the slot.
    CImageWindow(int n, CVorteplanSoftTableView& view, QWidget* parent = nullptr);
    ~CImageWindow() override;

    int Number() const { return m_n; }
    // Whether the last paint showed a picture.
    bool ShowsPicture() const { return m_showsPicture; }

signals:
    void filesDropped(int n, const QStringList& files);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int m_n;
    CVorteplanSoftTableView& m_view;
    std::string m_holderName; // the cell text m_holder was made for
    std::unique_ptr<CImageBase> m_holder;
    bool m_showsPicture = false;
};
