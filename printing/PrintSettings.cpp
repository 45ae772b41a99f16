#include "printing/PrintSettings.h"

#include "printing/LabelEscape.h"
#include "printing/TicketPrinter.h"
#include "processing/IniFile.h"

#include <algorithm>
#include <cstdio>

namespace
{
// Where each entry of the job order is kept; the sections are numbered in
// another order than the job (the operator is Line1, the serial number Line2).
struct LineKeys
{
    const char* section;
    const char* enabledKey;
    const char* xKey;
    const char* yKey;
    PrintLine defaults;
};

const LineKeys JobOrderKeys[CPrintSettings::LineCount] = {
    {"Line2", "SerialNum", "X2", "Y2", {0, 100, 80}},
    {"Line1", "Operator", "X1", "Y1", {0, 100, 40}},
    {"Line4", "DateTime", "X4", "Y4", {1, 100, 160}},
    {"Line3", "Description", "X3", "Y3", {0, 100, 120}},
    {"Line5", "VorlFrame", "X5", "Y5", {1, 100, 200}},
};

// The INI file lists the sections Line1 to Line5 in their own order.
const int IniOrder[CPrintSettings::LineCount] = {
    CPrintSettings::OperatorLine, CPrintSettings::SerialNumberLine, CPrintSettings::CommentLine,
    CPrintSettings::DateTimeLine, CPrintSettings::FrameLine};

struct ZplFont
{
    int font;
    int height;
    int width;
};

int EplFontNumber(int labelCarSize)
{
    static const int fonts[] = {1, 2, 3, 4, 4, 4};
    return labelCarSize >= 0 && labelCarSize < 6 ? fonts[labelCarSize] : 3;
}

ZplFont ZplFontFor(int labelCarSize)
{
    static const ZplFont fonts[] = {{0, 32, 32}, {0, 28, 28}, {0, 24, 24},
                                    {1, 24, 18}, {1, 24, 16}, {1, 24, 14}};
    return labelCarSize >= 0 && labelCarSize < 6 ? fonts[labelCarSize] : ZplFont{0, 32, 28};
}

bool IsValidIndex(int index)
{
    return index >= 0 && index < CPrintSettings::LineCount;
}

// snprintf's result clipped to what the buffer really holds.
int WrittenLength(int formatted)
{
    return std::clamp(formatted, 0, CPrintSettings::FieldBufferSize - 1);
}

// A slot whose NUL went missing is read up to its end, never beyond.
template <std::size_t N>
std::string SlotText(const char (&slot)[N])
{
    std::size_t length = 0;
    while (length < N && slot[length] != '\0')
        ++length;
    return std::string(slot, length);
}

}

CPrintSettings::CPrintSettings() : m_iniPath(MakeAbsolutePath("PrintSetup.ini", 0))
{
    ExchangeIni(true);
}

void CPrintSettings::ExchangeIni(bool load)
{
    CIniFile ini(m_iniPath, 0);
    ini.ExchangeInt(load, m_printingType, "PrintingType", "Option", 0);
    ini.ExchangeInt(load, m_numberOfCopies, "NumberOfCopies", "Option", 1);
    ini.ExchangeInt(load, m_upperMargin, "UpperMargin", "Option", 0);
    ini.ExchangeInt(load, m_leftMargin, "LeftMargin", "Option", 0);
    ini.ExchangeInt(load, m_labelCarSize, "LabelCarSize", "Option", 0);
    for (int index : IniOrder)
    {
        const LineKeys& keys = JobOrderKeys[index];
        PrintLine& line = m_lines[index];
        ini.ExchangeInt(load, line.enabled, keys.enabledKey, keys.section, keys.defaults.enabled);
        ini.ExchangeInt(load, line.x, keys.xKey, keys.section, keys.defaults.x);
        ini.ExchangeInt(load, line.y, keys.yKey, keys.section, keys.defaults.y);
    }
}

int CPrintSettings::GetLineX(int index) const
{
    return IsValidIndex(index) ? m_lines[index].x : 0;
}

int CPrintSettings::GetLineY(int index) const
{
    return IsValidIndex(index) ? m_lines[index].y : 0;
}

int CPrintSettings::FormatEplField(char* buffer, int index, const char* text) const
{
    buffer[0] = '\0';
    if (!IsValidIndex(index))
        return 0;
    const std::string data = EscapeEplData(text);
    return WrittenLength(std::snprintf(buffer, FieldBufferSize, "A%d,%d,%d,%d,%d,%d,N,\"%s\"",
                                       GetLineX(index), GetLineY(index), 0,
                                       EplFontNumber(m_labelCarSize), 1, 1, data.c_str()));
}

int CPrintSettings::FormatZplField(char* buffer, int index, const char* text) const
{
    buffer[0] = '\0';
    if (!IsValidIndex(index))
        return 0;
    const ZplFont font = ZplFontFor(m_labelCarSize);
    const bool hex = ZplDataNeedsHex(text);
    const std::string data = hex ? EscapeZplHexData(text) : std::string(text);
    return WrittenLength(std::snprintf(buffer, FieldBufferSize, "^FO%d,%d ^A%d,%d,%d%s^FD%s^FS",
                                       GetLineX(index), GetLineY(index), font.font, font.height,
                                       font.width, hex ? "^FH" : "", data.c_str()));
}

bool CPrintSettings::IsKnownPrintingType() const
{
    return m_printingType == TicketA4 || m_printingType == Epl2Label || m_printingType == Zpl2Label;
}

std::vector<std::string> CPrintSettings::BuildJobLines(const PrintRecord& record) const
{
    std::vector<std::string> lines;
    if (!IsKnownPrintingType())
        return lines;
    const std::string texts[LineCount] = {SlotText(record.serialNumber), SlotText(record.operatorName),
                                          SlotText(record.dateTime), SlotText(record.comment),
                                          SlotText(record.frame)};
    if (m_printingType == Epl2Label)
        lines.push_back("N");
    if (m_printingType == Zpl2Label)
        lines.push_back("^XA");
    for (int index = 0; index < LineCount; ++index)
    {
        if (!m_lines[index].enabled || texts[index].empty())
            continue;
        char field[FieldBufferSize];
        if (m_printingType == Epl2Label)
            lines.push_back(std::string(field, FormatEplField(field, index, texts[index].c_str())));
        else if (m_printingType == Zpl2Label)
            lines.push_back(std::string(field, FormatZplField(field, index, texts[index].c_str())));
        else
            lines.push_back(texts[index]);
    }
    if (m_printingType == Epl2Label)
        lines.push_back("P1");
    if (m_printingType == Zpl2Label)
        lines.push_back("^XZ");
    return lines;
}

unsigned CPrintSettings::BuildPrintJob(const char* fileName, CTicketPrinter& printer,
                                       const PrintRecord& record) const
{
    printer.WriteJobLine(fileName, "", CTicketPrinter::EmptyFile);
    if (!IsKnownPrintingType())
        return Failure;
    if (m_printingType == TicketA4)
        printer.SetMargins(m_leftMargin, m_upperMargin);
    else
        printer.SetMargins(0, 0);
    for (const std::string& line : BuildJobLines(record))
        printer.WriteJobLine(fileName, line.c_str(), CTicketPrinter::AppendLine);
    return 0;
}
