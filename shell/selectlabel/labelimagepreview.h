#pragma once
// The picture of a label definition in the select-label dialog: a white
// box with the picture stretched over it. The picture is read when the box
// is first painted after its path changed, only for ".bmp", ".jpg" and
// ".png" files (any letter case).
#include <QWidget>

#include <memory>

class CImageBitmapNew;

class CLabelImagePreview : public QWidget {
    Q_OBJECT
public:
    explicit CLabelImagePreview(QWidget* parent = nullptr);
    ~CLabelImagePreview() override;

    // A different path drops the loaded picture and repaints; an empty
    // path shows nothing.
    void SetPath(const QString& path);
    const QString& Path() const { return m_path; }
    // Whether a picture was loaded (at the last paint).
    bool HasPicture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
    std::unique_ptr<CImageBitmapNew> m_picture;
    bool m_tried = false;
};
