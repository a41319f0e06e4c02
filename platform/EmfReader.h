// Small reader of enhanced metafiles held in memory: walks the records, checks
// that the file is well formed (header, record types and sizes, description,
// object handles created before use and deleted only when no longer selected)
// and decodes the records the canvas writes, so pictures can be checked
// without a drawing program.
#pragma once

#include "CanvasTypes.h"
#include "EmfRecords.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct EmfRecordRef {
    std::uint32_t m_nType = 0;
    std::uint32_t m_nOffset = 0; // bytes from the start of the file
    std::uint32_t m_nSize = 0;   // bytes, a multiple of 4
};

struct EmfHeaderInfo {
    EmfRectL m_rcBounds;       // device pixels
    EmfRectL m_rcFrame;        // 0.01 mm
    std::uint32_t m_nBytes = 0;
    std::uint32_t m_nRecords = 0;
    std::uint16_t m_nHandles = 0; // size of the object table, entry 0 included
    QString m_strDescription;     // with its zero characters
    CanvasSize m_szDevice;        // pixels
    CanvasSize m_szMillimetres;
    CanvasSize m_szMicrometres;   // 0 x 0 when the header has no such field
};

struct EmfFontInfo {
    int m_nHeight = 0;
    int m_nWidth = 0;
    int m_nEscapement = 0;  // tenths of a degree
    int m_nOrientation = 0; // tenths of a degree
    int m_nWeight = 0;
    bool m_bItalic = false;
    bool m_bUnderline = false;
    QString m_strFace;
};

struct EmfTextInfo {
    CanvasPoint m_ptReference;
    std::uint32_t m_nOptions = 0;
    EmfRectL m_rcClip;
    QString m_strText;
    std::vector<int> m_aDx; // advance of each character, pixels; empty when absent
};

struct EmfDibInfo {
    CanvasRect m_rcDest; // right and bottom exclusive
    CanvasRect m_rcSource;
    int m_nWidth = 0;    // pixels of the stored picture
    int m_nHeight = 0;   // positive: rows stored bottom-up
    int m_nBitCount = 0;
    QByteArray m_bits;   // the stored rows, padded to 4 bytes each
};

class EmfReader {
public:
    // Reads bytes and checks them; false at the first fault, described by Error().
    bool Read(const QByteArray& bytes);
    const QString& Error() const { return m_strError; }

    const EmfHeaderInfo& Header() const { return m_header; }
    // Every record after the header, the end record included.
    const std::vector<EmfRecordRef>& Records() const { return m_aRecords; }
    std::vector<std::uint32_t> Types() const;
    std::vector<EmfRecordRef> OfType(std::uint32_t type) const;

    // Fields of a record at a byte offset from its start; 0 outside the record.
    std::uint32_t U32(const EmfRecordRef& record, std::uint32_t offset) const;
    std::int32_t I32(const EmfRecordRef& record, std::uint32_t offset) const;

    // Decoded records; nullopt for a record of another type.
    std::optional<EmfFontInfo> Font(const EmfRecordRef& record) const;
    std::optional<EmfTextInfo> Text(const EmfRecordRef& record) const;
    std::optional<EmfDibInfo> Dib(const EmfRecordRef& record) const;
    // Points of a poly record (16- or 32-bit form).
    std::vector<CanvasPoint> Points(const EmfRecordRef& record) const;

    // Objects created and deleted over the whole file.
    int ObjectsCreated() const { return m_nCreated; }
    int ObjectsDeleted() const { return m_nDeleted; }

private:
    enum class Kind { None, Pen, Brush, Font, Palette };
    struct Selection {
        std::uint32_t m_aSlot[3] = {0, 0, 0}; // pen, brush, font: handle or stock number
    };

    bool Fail(const QString& message);
    bool ReadHeader();
    bool CheckSize(const EmfRecordRef& r);
    bool CheckObjects(const EmfRecordRef& r);
    bool IsSelected(std::uint32_t handle) const;
    static Kind StockKind(std::uint32_t index);
    std::uint16_t U16At(std::uint64_t offset) const;
    std::uint32_t U32At(std::uint64_t offset) const;
    QString Utf16At(std::uint64_t offset, std::uint64_t units, bool stopAtZero) const;

    QByteArray m_bytes;
    QString m_strError;
    EmfHeaderInfo m_header;
    std::uint32_t m_nHeaderSize = 0;
    std::vector<EmfRecordRef> m_aRecords;
    std::vector<Kind> m_aObjects; // index = handle; Kind::None = free
    Selection m_current;
    std::vector<Selection> m_aSaved;
    int m_nCreated = 0;
    int m_nDeleted = 0;
};
