#include "barcode_render.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTransform>

#include <array>
#include <cstdio>
#include <memory>
#include <sys/wait.h>

namespace bctest {

BarcodeHost MakeHost(int rotation, const RECT& box)
{
    BarcodeHost h;
    h.rotation = rotation;
    h.deviceRect = box;
    h.widthUm = box.Width() * 100;
    h.heightUm = box.Height() * 100;
    SetFaceName(h.font, "Liberation Sans");
    h.font.lfHeight = -12;
    h.deviceFont = h.font;
    h.deviceFont.lfHeight = -30;
    return h;
}

QImage Render(const CBarcode& b, const std::string& text, int rotation, int across, int margin, BarcodeDrawResult* result)
{
    const int along = std::max(1, b.GetWidth(text, kRes) / 100);
    const bool turned = rotation == 900 || rotation == 2700;
    const int w = turned ? across : along;
    const int h = turned ? along : across;
    QImage img(w + 2 * margin, h + 2 * margin, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    CDC dc(&img, kRes, kRes);
    const RECT box{margin, margin, margin + w, margin + h};
    BarcodeHost host = MakeHost(rotation, box);
    host.context.labelNumber = 1;
    POINT o{box.left, box.top};
    if (rotation == 900)
        o = {box.left, box.bottom};
    else if (rotation == 1800)
        o = {box.right, box.bottom};
    else if (rotation == 2700)
        o = {box.right, box.top};
    const BarcodeDrawResult r = b.Draw(host, dc, kRes, kRes, o.x, o.y, text);
    if (result)
        *result = r;
    return img;
}

std::string DarkRow(const QImage& img, int y)
{
    std::string row;
    for (int x = 0; x < img.width(); ++x)
        row += qGray(img.pixel(x, y)) < 128 ? '1' : '0';
    const size_t first = row.find('1');
    if (first == std::string::npos)
        return {};
    return row.substr(first, row.rfind('1') - first + 1);
}

QImage Unrotate(const QImage& img, int rotation)
{
    if (rotation == 0)
        return img;
    QTransform t;
    t.rotate(rotation / 10.0); // Qt turns clockwise on screen
    return img.transformed(t);
}

std::string DumpHex(const std::string& row)
{
    std::string bits = row;
    while (bits.size() % 4)
        bits += '0';
    std::string out;
    for (size_t i = 0; i < bits.size(); i += 4) {
        int v = 0;
        for (size_t k = 0; k < 4; ++k)
            v = v * 2 + (bits[i + k] == '1');
        if (i > 0 && (i / 4) % 2 == 0)
            out += ' ';
        out += "0123456789ABCDEF"[v];
    }
    return out;
}

int RunCommand(const std::string& command, std::string* out)
{
    FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return -1;
    std::array<char, 4096> buf;
    std::string text;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        text.append(buf.data(), n);
    const int status = ::pclose(p);
    if (out)
        *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveProgram(const char* name)
{
    return RunCommand(std::string("command -v ") + name + " >/dev/null 2>&1", nullptr) == 0;
}

std::string TempDir()
{
    static QTemporaryDir dir;
    return dir.path().toStdString();
}

} // namespace bctest
