#include "creator/CanvasHistory.h"

namespace kf {

namespace {

// zlib's fastest level: the differences are mostly zero, which every level packs about as
// tightly, and the step is stored at the release of the button.
constexpr int kCompression = 1;

// Bytes of one pixel in the pictures of the steps.
constexpr int kPixelBytes = 4;

} // namespace

bool CanvasHistory::record(const QImage& before, const QImage& after, QRect rect) {
    rect &= before.rect();
    if (rect.isEmpty())
        return false;
    const qsizetype rowBytes = qsizetype{rect.width()} * kPixelBytes;
    QByteArray raw(rowBytes * rect.height(), Qt::Uninitialized);
    quint32 changed = 0;
    auto* out = reinterpret_cast<quint32*>(raw.data());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto* from = reinterpret_cast<const quint32*>(before.constScanLine(y)) + rect.left();
        const auto* to = reinterpret_cast<const quint32*>(after.constScanLine(y)) + rect.left();
        for (int x = 0; x < rect.width(); ++x) {
            *out = from[x] ^ to[x];
            changed |= *out++;
        }
    }
    if (changed == 0)
        return false;

    // A new step after an undo: the steps taken back can no longer be done again.
    while (m_steps.size() > m_done) {
        m_bytes -= bytesOf(m_steps.back());
        m_steps.pop_back();
    }
    QByteArray difference = qCompress(raw, kCompression);
    // qCompress leaves room for the worst case; the step keeps only what it needs.
    difference.squeeze();
    m_steps.push_back({rect, std::move(difference)});
    m_bytes += bytesOf(m_steps.back());
    ++m_done;
    while (steps() > kMinSteps && m_bytes > kBudgetBytes) {
        m_bytes -= bytesOf(m_steps.front());
        m_steps.pop_front();
        --m_done;
    }
    return true;
}

QRect CanvasHistory::undo(QImage& canvas) {
    if (!canUndo())
        return {};
    const Step& step = m_steps[--m_done];
    apply(step, canvas);
    return step.rect;
}

QRect CanvasHistory::redo(QImage& canvas) {
    if (!canRedo())
        return {};
    const Step& step = m_steps[m_done++];
    apply(step, canvas);
    return step.rect;
}

void CanvasHistory::clear() {
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
}

qsizetype CanvasHistory::bytesOf(const Step& step) {
    return qsizetype{sizeof(Step)} + step.difference.capacity();
}

void CanvasHistory::apply(const Step& step, QImage& canvas) {
    const QByteArray raw = qUncompress(step.difference);
    const QRect& rect = step.rect;
    const auto* difference = reinterpret_cast<const quint32*>(raw.constData());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto* row = reinterpret_cast<quint32*>(canvas.scanLine(y)) + rect.left();
        for (int x = 0; x < rect.width(); ++x)
            row[x] ^= *difference++;
    }
}

} // namespace kf
