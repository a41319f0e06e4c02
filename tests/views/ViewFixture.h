// Shared set-up of the view tests: a document holding a synthetic sound, and
// helpers that build its raw bytes.
#pragma once

#include "ProgramFlags.h"
#include "ScriptedUiServices.h"
#include "TonaroDoc.h"
#include "UiServices.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// 16-bit little-endian bytes of nSamples values made by fn(i).
inline std::vector<uint8_t> Pcm16(int nSamples, const std::function<int(int)>& fn)
{
    std::vector<uint8_t> raw(static_cast<size_t>(nSamples) * 2);
    for (int i = 0; i < nSamples; ++i) {
        const auto v = static_cast<uint16_t>(static_cast<int16_t>(fn(i)));
        raw[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(v & 0xFF);
        raw[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>(v >> 8);
    }
    return raw;
}

// A ramp whose sample value is its index modulo 30000: a selection's first value tells its start.
inline int Ramp(int i)
{
    return i % 30000;
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramFlags();
        SetUiServices(&m_ui);
        m_doc = std::make_unique<CTonaroDoc>();
        m_doc->OnNewDocument();
    }
    void TearDown() override
    {
        m_doc.reset();
        SetUiServices(nullptr);
        ResetProgramFlags();
    }
    // Loads a mono sound of the given format into the document.
    void Load(std::vector<uint8_t> raw, int nBits = 16, int nRate = 44100)
    {
        m_doc->m_nBitsPerSample = nBits;
        m_doc->m_bSigned = nBits != 8;
        m_doc->m_dFullScale = nBits == 8 ? 255.0 : 32767.0;
        m_doc->m_nSampleRate = nRate;
        m_doc->m_nPlayBitsPerSample = nBits;
        m_doc->SetRawData(std::move(raw));
        g_bWaveLoaded = true;
    }

    ScriptedUiServices m_ui;
    std::unique_ptr<CTonaroDoc> m_doc;
};

// Mouse input sent straight to a widget, as a user's clicks and drags arrive.
namespace Mouse {
inline void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonPress, p, b, b);
}
inline void Move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::LeftButton)
{
    Send(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
inline void Release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void Click(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    Press(w, p, b);
    Release(w, p, b);
}
// Press, release, double click, release: what a double click delivers.
inline void DoubleClick(QWidget* w, QPoint p)
{
    Click(w, p);
    Send(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    Release(w, p);
}
inline void Drag(QWidget* w, QPoint from, QPoint to)
{
    Press(w, from);
    Move(w, (from + to) / 2);
    Move(w, to);
    Release(w, to);
}
} // namespace Mouse
