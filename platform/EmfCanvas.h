// Canvas that writes an enhanced metafile: every primitive becomes EMF records
// in a byte buffer, so a window can be saved or copied as a vector picture by
// drawing it exactly as on the screen (same size, same text measures).
#pragma once

#include "Canvas.h"
#include "EmfRecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

class EmfCanvas : public Canvas {
public:
    // Where the picture's frame (its size in 0.01 mm) comes from: the whole
    // canvas (a saved window) or the bounds of what was drawn (a clipboard copy).
    enum class FrameMode { Canvas, Bounds };

    // Resolution of the reference device in dots per inch.
    static constexpr int kDpi = 96;

    // size: the drawing surface in pixels; the frame of a saved window is this
    // size at 96 dpi.  title is the picture title written into the description
    // after the program's name.
    EmfCanvas(CanvasSize size, const QString& title, FrameMode frame = FrameMode::Canvas);
    ~EmfCanvas() override;

    CanvasSize Size() const override { return m_size; }

    // Closes the picture and returns the whole file.  Drawing after the first
    // call is ignored; later calls return the same bytes.
    QByteArray Finish();
    // Finish() written to path (replacing the file only once all bytes are
    // written); false when the file cannot be written.
    bool SaveFile(const QString& path);

    // The description of a picture: "TONARO Soundanalyse", a zero, the title, two zeros.
    static QString Description(const QString& title);
    // Pixels to 0.01 mm at the reference resolution (truncating toward zero).
    static int PixelsToHundredthsMm(int pixels) { return static_cast<int>(pixels * 2540LL / kDpi); }

protected:
    void DoMoveTo(CanvasPoint to) override;
    void DoLineTo(CanvasPoint from, CanvasPoint to) override;
    void DoPolyline(std::span<const CanvasPoint> points) override;
    void DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points) override;
    void DoPolygon(std::span<const CanvasPoint> points) override;
    void DoRectangle(const CanvasRect& rect) override;
    void DoFillRect(const CanvasRect& rect, const Brush& brush) override;
    void DoEllipse(const CanvasRect& rect) override;
    void DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end) override;
    void DoTextOut(CanvasPoint at, const QString& text) override;
    void DoDrawText(const QString& text, const CanvasRect& rect, unsigned format) override;
    void DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src) override;
    void DoSetPixel(CanvasPoint at, ColourRef colour) override;
    void DoInvertRect(const CanvasRect& rect) override;

private:
    using ObjectDesc = std::variant<Pen, Brush, FontDesc>;
    enum Slot { PenSlot = 0, BrushSlot = 1, FontSlot = 2, SlotCount = 3 };

    // What the records written so far have set in the playing device context;
    // an empty optional means "not written yet", so the first use writes it.
    struct DcState {
        std::optional<BkMode> m_oBkMode;
        std::optional<ColourRef> m_oBkColour;
        std::optional<ColourRef> m_oTextColour;
        std::optional<unsigned> m_oTextAlign;
        std::optional<RasterMode> m_oRop2;
        std::optional<CanvasPoint> m_oCurrent;
        bool m_bPolyFillSet = false;
        bool m_bStretchModeSet = false;
        std::uint32_t m_aSelected[SlotCount] = {0, 0, 0}; // handle or stock number; 0 = none written
    };
    struct ObjectEntry {
        bool m_bAlive = false;
        ObjectDesc m_desc;
    };

    bool Drawing() const { return !m_bFinished; }
    // Records.
    void Emit(const QByteArray& record);
    void EmitSimple(std::uint32_t type, std::uint32_t value);
    // State of the device context.
    void SyncClip();
    void SyncBk(bool needed);
    void SyncRop2(RasterMode mode);
    void SyncTextColour();
    void SyncTextAlign(unsigned align);
    void SyncCurrent(CanvasPoint from);
    void SyncPolyFill();
    void EndClipLevel();
    void SelectPenObject(const Pen& pen);
    void SelectBrushObject(const Brush& brush);
    void SelectFontObject(const FontDesc& font);
    void SelectInSlot(Slot slot, const ObjectDesc& desc, std::uint32_t stock);
    std::uint32_t CreateObject(const ObjectDesc& desc);
    bool Referenced(std::uint32_t handle) const;
    void ReleaseIfUnused(std::uint32_t handle);
    void PrepareStroke();
    void PrepareShape();
    void PrepareCopyOnly();
    // Bounds of the picture (inclusive pixel rectangles).
    void AddBounds(EmfRectL box);
    EmfRectL StrokeBox(EmfRectL box) const;
    static EmfRectL PointBox(std::span<const CanvasPoint> points);
    // Primitive writers.
    void WriteText(CanvasPoint at, const QString& text, const FontDesc& font, unsigned align,
                   const CanvasRect* clip);
    void WriteBlt(const CanvasRect& rect, std::uint32_t rop);
    QByteArray HeaderRecord(std::uint32_t totalBytes, std::uint32_t records) const;
    void CloseRecords();

    CanvasSize m_size;
    QString m_strDescription;
    FrameMode m_eFrame;
    QByteArray m_body;          // every record after the header
    std::uint32_t m_nRecords = 0; // records in m_body
    DcState m_dc;
    std::vector<DcState> m_aSavedDc; // one level while a clip rectangle is written
    bool m_bClipWritten = false;
    CanvasRect m_rcClipWritten;
    std::vector<ObjectEntry> m_aObjects; // index = handle; entry 0 unused
    std::uint32_t m_nMaxHandle = 0;
    bool m_bAnyBounds = false;
    EmfRectL m_bounds;
    bool m_bFinished = false;
    QByteArray m_file;
};
