#pragma once
// Thumbnails of the pictures in one folder (".wmf", ".bmp", ".jpg",
// ".jpeg", ".png" in any letter case; at most kMaxNames in directory
// order) in cells of 60 x 60 pixels, scrolled vertically. A click toggles a
// thumbnail in the selection, which keeps the order of clicking; dragging
// on empty space draws a rubber band that adds every thumbnail lying wholly
// inside it. Dragging from a thumbnail carries the selection: releasing it
// emits selectionDropped with the global point, and whoever owns the
// browser decides what lies there.
//
// Thumbnails are decoded scaled down, lazily for the cells on the screen,
// and cached per file.
#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class CImageBrowser : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kMaxNames = 1024;
    static constexpr int kCell = 60;
    static constexpr int kOrigin = 6;
    static constexpr int kThumb = 48;

    explicit CImageBrowser(QWidget* parent = nullptr);
    ~CImageBrowser() override;

    // Reads the picture names of `folder` anew; the selection is emptied,
    // the scroll position reset and the thumbnail cache kept for files that
    // are still there.
    void ScanFolder(const QString& folder);
    const QString& Folder() const { return m_folder; }
    const QStringList& Names() const { return m_names; }

    // The selection as indexes into Names, in the order of selection.
    const std::vector<int>& Selection() const { return m_selection; }
    int GetSelectedCount() const { return int(m_selection.size()); }
    // Folder + "/" + name of the i-th selected picture; empty for an index
    // outside the selection.
    QString GetSelectedPath(int i) const;
    void ClearSelection();
    // Toggles picture `index` in the selection.
    void ToggleSelection(int index);

    // The cell rectangle of picture `index` in viewport pixels.
    QRect CellRect(int index) const;
    // The picture under a viewport point; -1 for none.
    int IndexAt(QPoint point) const;
    int Columns() const;
    // Decoded thumbnails held, and their bytes.
    int CachedCount() const { return int(m_cache.size()); }
    qint64 CacheBytes() const;

signals:
    // The selection was dragged and released at a global point.
    void selectionDropped(QPoint globalPoint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Gesture { None, Pressed, Dragging, Band };
    void updateScrollRange();
    const QImage& thumbnail(int index);
    QRect bandRect() const;

    QString m_folder;
    QStringList m_names;
    std::vector<int> m_selection;
    QHash<QString, QImage> m_cache; // by full path
    Gesture m_gesture = Gesture::None;
    QPoint m_pressPoint;
    QPoint m_currentPoint;
    int m_pressedIndex = -1;
};
