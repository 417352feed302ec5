#pragma once

// The single-byte Windows code pages, bytes 80-FF, as Windows's own conversion
// (MultiByteToWideChar) gives them. The bytes that a page leaves undefined are included: most
// become the C1 control of the same value, a few a private-use character. Bytes 00-7F are ASCII
// in every page.
//
// kComposed lists, for the pages that hold combining marks, the characters that the page lacks
// as one character but holds as a base letter and one or two marks of the same meaning
// (canonically equivalent), or as another form of the same mark: Vietnamese letters with tone
// marks, Hebrew letters with points. Sorted by character.

#include <array>
#include <cstdint>

namespace quorvale::codepage::tables {

struct Composed
{
    char16_t character;
    std::uint8_t base;
    std::uint8_t mark;       // 0: none
    std::uint8_t secondMark; // 0: none
};

// 874: Thai
inline constexpr std::array<char16_t, 128> k874 = {
    u'\u20AC', u'\u0081', u'\u0082', u'\u0083', u'\u0084', u'\u2026', u'\u0086', u'\u0087',
    u'\u0088', u'\u0089', u'\u008A', u'\u008B', u'\u008C', u'\u008D', u'\u008E', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u0099', u'\u009A', u'\u009B', u'\u009C', u'\u009D', u'\u009E', u'\u009F',
    u'\u00A0', u'\u0E01', u'\u0E02', u'\u0E03', u'\u0E04', u'\u0E05', u'\u0E06', u'\u0E07',
    u'\u0E08', u'\u0E09', u'\u0E0A', u'\u0E0B', u'\u0E0C', u'\u0E0D', u'\u0E0E', u'\u0E0F',
    u'\u0E10', u'\u0E11', u'\u0E12', u'\u0E13', u'\u0E14', u'\u0E15', u'\u0E16', u'\u0E17',
    u'\u0E18', u'\u0E19', u'\u0E1A', u'\u0E1B', u'\u0E1C', u'\u0E1D', u'\u0E1E', u'\u0E1F',
    u'\u0E20', u'\u0E21', u'\u0E22', u'\u0E23', u'\u0E24', u'\u0E25', u'\u0E26', u'\u0E27',
    u'\u0E28', u'\u0E29', u'\u0E2A', u'\u0E2B', u'\u0E2C', u'\u0E2D', u'\u0E2E', u'\u0E2F',
    u'\u0E30', u'\u0E31', u'\u0E32', u'\u0E33', u'\u0E34', u'\u0E35', u'\u0E36', u'\u0E37',
    u'\u0E38', u'\u0E39', u'\u0E3A', u'\uF8C1', u'\uF8C2', u'\uF8C3', u'\uF8C4', u'\u0E3F',
    u'\u0E40', u'\u0E41', u'\u0E42', u'\u0E43', u'\u0E44', u'\u0E45', u'\u0E46', u'\u0E47',
    u'\u0E48', u'\u0E49', u'\u0E4A', u'\u0E4B', u'\u0E4C', u'\u0E4D', u'\u0E4E', u'\u0E4F',
    u'\u0E50', u'\u0E51', u'\u0E52', u'\u0E53', u'\u0E54', u'\u0E55', u'\u0E56', u'\u0E57',
    u'\u0E58', u'\u0E59', u'\u0E5A', u'\u0E5B', u'\uF8C5', u'\uF8C6', u'\uF8C7', u'\uF8C8',
};

// 1250: Central European
inline constexpr std::array<char16_t, 128> k1250 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0083', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u0088', u'\u2030', u'\u0160', u'\u2039', u'\u015A', u'\u0164', u'\u017D', u'\u0179',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0161', u'\u203A', u'\u015B', u'\u0165', u'\u017E', u'\u017A',
    u'\u00A0', u'\u02C7', u'\u02D8', u'\u0141', u'\u00A4', u'\u0104', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\u015E', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u017B',
    u'\u00B0', u'\u00B1', u'\u02DB', u'\u0142', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00B8', u'\u0105', u'\u015F', u'\u00BB', u'\u013D', u'\u02DD', u'\u013E', u'\u017C',
    u'\u0154', u'\u00C1', u'\u00C2', u'\u0102', u'\u00C4', u'\u0139', u'\u0106', u'\u00C7',
    u'\u010C', u'\u00C9', u'\u0118', u'\u00CB', u'\u011A', u'\u00CD', u'\u00CE', u'\u010E',
    u'\u0110', u'\u0143', u'\u0147', u'\u00D3', u'\u00D4', u'\u0150', u'\u00D6', u'\u00D7',
    u'\u0158', u'\u016E', u'\u00DA', u'\u0170', u'\u00DC', u'\u00DD', u'\u0162', u'\u00DF',
    u'\u0155', u'\u00E1', u'\u00E2', u'\u0103', u'\u00E4', u'\u013A', u'\u0107', u'\u00E7',
    u'\u010D', u'\u00E9', u'\u0119', u'\u00EB', u'\u011B', u'\u00ED', u'\u00EE', u'\u010F',
    u'\u0111', u'\u0144', u'\u0148', u'\u00F3', u'\u00F4', u'\u0151', u'\u00F6', u'\u00F7',
    u'\u0159', u'\u016F', u'\u00FA', u'\u0171', u'\u00FC', u'\u00FD', u'\u0163', u'\u02D9',
};

// 1251: Cyrillic
inline constexpr std::array<char16_t, 128> k1251 = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',
};

// 1252: Western
inline constexpr std::array<char16_t, 128> k1252 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
    u'\u00A0', u'\u00A1', u'\u00A2', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\u00AA', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00AF',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00B8', u'\u00B9', u'\u00BA', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u00BF',
    u'\u00C0', u'\u00C1', u'\u00C2', u'\u00C3', u'\u00C4', u'\u00C5', u'\u00C6', u'\u00C7',
    u'\u00C8', u'\u00C9', u'\u00CA', u'\u00CB', u'\u00CC', u'\u00CD', u'\u00CE', u'\u00CF',
    u'\u00D0', u'\u00D1', u'\u00D2', u'\u00D3', u'\u00D4', u'\u00D5', u'\u00D6', u'\u00D7',
    u'\u00D8', u'\u00D9', u'\u00DA', u'\u00DB', u'\u00DC', u'\u00DD', u'\u00DE', u'\u00DF',
    u'\u00E0', u'\u00E1', u'\u00E2', u'\u00E3', u'\u00E4', u'\u00E5', u'\u00E6', u'\u00E7',
    u'\u00E8', u'\u00E9', u'\u00EA', u'\u00EB', u'\u00EC', u'\u00ED', u'\u00EE', u'\u00EF',
    u'\u00F0', u'\u00F1', u'\u00F2', u'\u00F3', u'\u00F4', u'\u00F5', u'\u00F6', u'\u00F7',
    u'\u00F8', u'\u00F9', u'\u00FA', u'\u00FB', u'\u00FC', u'\u00FD', u'\u00FE', u'\u00FF',
};

// 1253: Greek
inline constexpr std::array<char16_t, 128> k1253 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u0088', u'\u2030', u'\u008A', u'\u2039', u'\u008C', u'\u008D', u'\u008E', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u009A', u'\u203A', u'\u009C', u'\u009D', u'\u009E', u'\u009F',
    u'\u00A0', u'\u0385', u'\u0386', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\uF8F9', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u2015',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u0384', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0388', u'\u0389', u'\u038A', u'\u00BB', u'\u038C', u'\u00BD', u'\u038E', u'\u038F',
    u'\u0390', u'\u0391', u'\u0392', u'\u0393', u'\u0394', u'\u0395', u'\u0396', u'\u0397',
    u'\u0398', u'\u0399', u'\u039A', u'\u039B', u'\u039C', u'\u039D', u'\u039E', u'\u039F',
    u'\u03A0', u'\u03A1', u'\uF8FA', u'\u03A3', u'\u03A4', u'\u03A5', u'\u03A6', u'\u03A7',
    u'\u03A8', u'\u03A9', u'\u03AA', u'\u03AB', u'\u03AC', u'\u03AD', u'\u03AE', u'\u03AF',
    u'\u03B0', u'\u03B1', u'\u03B2', u'\u03B3', u'\u03B4', u'\u03B5', u'\u03B6', u'\u03B7',
    u'\u03B8', u'\u03B9', u'\u03BA', u'\u03BB', u'\u03BC', u'\u03BD', u'\u03BE', u'\u03BF',
    u'\u03C0', u'\u03C1', u'\u03C2', u'\u03C3', u'\u03C4', u'\u03C5', u'\u03C6', u'\u03C7',
    u'\u03C8', u'\u03C9', u'\u03CA', u'\u03CB', u'\u03CC', u'\u03CD', u'\u03CE', u'\uF8FB',
};

// 1254: Turkish
inline constexpr std::array<char16_t, 128> k1254 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u008E', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u009E', u'\u0178',
    u'\u00A0', u'\u00A1', u'\u00A2', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\u00AA', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00AF',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00B8', u'\u00B9', u'\u00BA', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u00BF',
    u'\u00C0', u'\u00C1', u'\u00C2', u'\u00C3', u'\u00C4', u'\u00C5', u'\u00C6', u'\u00C7',
    u'\u00C8', u'\u00C9', u'\u00CA', u'\u00CB', u'\u00CC', u'\u00CD', u'\u00CE', u'\u00CF',
    u'\u011E', u'\u00D1', u'\u00D2', u'\u00D3', u'\u00D4', u'\u00D5', u'\u00D6', u'\u00D7',
    u'\u00D8', u'\u00D9', u'\u00DA', u'\u00DB', u'\u00DC', u'\u0130', u'\u015E', u'\u00DF',
    u'\u00E0', u'\u00E1', u'\u00E2', u'\u00E3', u'\u00E4', u'\u00E5', u'\u00E6', u'\u00E7',
    u'\u00E8', u'\u00E9', u'\u00EA', u'\u00EB', u'\u00EC', u'\u00ED', u'\u00EE', u'\u00EF',
    u'\u011F', u'\u00F1', u'\u00F2', u'\u00F3', u'\u00F4', u'\u00F5', u'\u00F6', u'\u00F7',
    u'\u00F8', u'\u00F9', u'\u00FA', u'\u00FB', u'\u00FC', u'\u0131', u'\u015F', u'\u00FF',
};

// 1255: Hebrew
inline constexpr std::array<char16_t, 128> k1255 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u008A', u'\u2039', u'\u008C', u'\u008D', u'\u008E', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u009A', u'\u203A', u'\u009C', u'\u009D', u'\u009E', u'\u009F',
    u'\u00A0', u'\u00A1', u'\u00A2', u'\u00A3', u'\u20AA', u'\u00A5', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\u00D7', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00AF',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00B8', u'\u00B9', u'\u00F7', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u00BF',
    u'\u05B0', u'\u05B1', u'\u05B2', u'\u05B3', u'\u05B4', u'\u05B5', u'\u05B6', u'\u05B7',
    u'\u05B8', u'\u05B9', u'\u05BA', u'\u05BB', u'\u05BC', u'\u05BD', u'\u05BE', u'\u05BF',
    u'\u05C0', u'\u05C1', u'\u05C2', u'\u05C3', u'\u05F0', u'\u05F1', u'\u05F2', u'\u05F3',
    u'\u05F4', u'\uF88D', u'\uF88E', u'\uF88F', u'\uF890', u'\uF891', u'\uF892', u'\uF893',
    u'\u05D0', u'\u05D1', u'\u05D2', u'\u05D3', u'\u05D4', u'\u05D5', u'\u05D6', u'\u05D7',
    u'\u05D8', u'\u05D9', u'\u05DA', u'\u05DB', u'\u05DC', u'\u05DD', u'\u05DE', u'\u05DF',
    u'\u05E0', u'\u05E1', u'\u05E2', u'\u05E3', u'\u05E4', u'\u05E5', u'\u05E6', u'\u05E7',
    u'\u05E8', u'\u05E9', u'\u05EA', u'\uF894', u'\uF895', u'\u200E', u'\u200F', u'\uF896',
};

// 1256: Arabic
inline constexpr std::array<char16_t, 128> k1256 = {
    u'\u20AC', u'\u067E', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0679', u'\u2039', u'\u0152', u'\u0686', u'\u0698', u'\u0688',
    u'\u06AF', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u06A9', u'\u2122', u'\u0691', u'\u203A', u'\u0153', u'\u200C', u'\u200D', u'\u06BA',
    u'\u00A0', u'\u060C', u'\u00A2', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\u06BE', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00AF',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00B8', u'\u00B9', u'\u061B', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u061F',
    u'\u06C1', u'\u0621', u'\u0622', u'\u0623', u'\u0624', u'\u0625', u'\u0626', u'\u0627',
    u'\u0628', u'\u0629', u'\u062A', u'\u062B', u'\u062C', u'\u062D', u'\u062E', u'\u062F',
    u'\u0630', u'\u0631', u'\u0632', u'\u0633', u'\u0634', u'\u0635', u'\u0636', u'\u00D7',
    u'\u0637', u'\u0638', u'\u0639', u'\u063A', u'\u0640', u'\u0641', u'\u0642', u'\u0643',
    u'\u00E0', u'\u0644', u'\u00E2', u'\u0645', u'\u0646', u'\u0647', u'\u0648', u'\u00E7',
    u'\u00E8', u'\u00E9', u'\u00EA', u'\u00EB', u'\u0649', u'\u064A', u'\u00EE', u'\u00EF',
    u'\u064B', u'\u064C', u'\u064D', u'\u064E', u'\u00F4', u'\u064F', u'\u0650', u'\u00F7',
    u'\u0651', u'\u00F9', u'\u0652', u'\u00FB', u'\u00FC', u'\u200E', u'\u200F', u'\u06D2',
};

// 1257: Baltic
inline constexpr std::array<char16_t, 128> k1257 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0083', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u0088', u'\u2030', u'\u008A', u'\u2039', u'\u008C', u'\u00A8', u'\u02C7', u'\u00B8',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u009A', u'\u203A', u'\u009C', u'\u00AF', u'\u02DB', u'\u009F',
    u'\u00A0', u'\uF8FC', u'\u00A2', u'\u00A3', u'\u00A4', u'\uF8FD', u'\u00A6', u'\u00A7',
    u'\u00D8', u'\u00A9', u'\u0156', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00C6',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00F8', u'\u00B9', u'\u0157', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u00E6',
    u'\u0104', u'\u012E', u'\u0100', u'\u0106', u'\u00C4', u'\u00C5', u'\u0118', u'\u0112',
    u'\u010C', u'\u00C9', u'\u0179', u'\u0116', u'\u0122', u'\u0136', u'\u012A', u'\u013B',
    u'\u0160', u'\u0143', u'\u0145', u'\u00D3', u'\u014C', u'\u00D5', u'\u00D6', u'\u00D7',
    u'\u0172', u'\u0141', u'\u015A', u'\u016A', u'\u00DC', u'\u017B', u'\u017D', u'\u00DF',
    u'\u0105', u'\u012F', u'\u0101', u'\u0107', u'\u00E4', u'\u00E5', u'\u0119', u'\u0113',
    u'\u010D', u'\u00E9', u'\u017A', u'\u0117', u'\u0123', u'\u0137', u'\u012B', u'\u013C',
    u'\u0161', u'\u0144', u'\u0146', u'\u00F3', u'\u014D', u'\u00F5', u'\u00F6', u'\u00F7',
    u'\u0173', u'\u0142', u'\u015B', u'\u016B', u'\u00FC', u'\u017C', u'\u017E', u'\u02D9',
};

// 1258: Vietnamese
inline constexpr std::array<char16_t, 128> k1258 = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u008A', u'\u2039', u'\u0152', u'\u008D', u'\u008E', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u009A', u'\u203A', u'\u0153', u'\u009D', u'\u009E', u'\u0178',
    u'\u00A0', u'\u00A1', u'\u00A2', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7',
    u'\u00A8', u'\u00A9', u'\u00AA', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u00AF',
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u00B4', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u00B8', u'\u00B9', u'\u00BA', u'\u00BB', u'\u00BC', u'\u00BD', u'\u00BE', u'\u00BF',
    u'\u00C0', u'\u00C1', u'\u00C2', u'\u0102', u'\u00C4', u'\u00C5', u'\u00C6', u'\u00C7',
    u'\u00C8', u'\u00C9', u'\u00CA', u'\u00CB', u'\u0300', u'\u00CD', u'\u00CE', u'\u00CF',
    u'\u0110', u'\u00D1', u'\u0309', u'\u00D3', u'\u00D4', u'\u01A0', u'\u00D6', u'\u00D7',
    u'\u00D8', u'\u00D9', u'\u00DA', u'\u00DB', u'\u00DC', u'\u01AF', u'\u0303', u'\u00DF',
    u'\u00E0', u'\u00E1', u'\u00E2', u'\u0103', u'\u00E4', u'\u00E5', u'\u00E6', u'\u00E7',
    u'\u00E8', u'\u00E9', u'\u00EA', u'\u00EB', u'\u0301', u'\u00ED', u'\u00EE', u'\u00EF',
    u'\u0111', u'\u00F1', u'\u0323', u'\u00F3', u'\u00F4', u'\u01A1', u'\u00F6', u'\u00F7',
    u'\u00F8', u'\u00F9', u'\u00FA', u'\u00FB', u'\u00FC', u'\u01B0', u'\u20AB', u'\u00FF',
};

inline constexpr std::array<Composed, 34> kComposed1255 = {{
    {u'\uFB1D', 0xE9, 0xC4, 0x00}, {u'\uFB1F', 0xD6, 0xC7, 0x00}, {u'\uFB2A', 0xF9, 0xD1, 0x00},
    {u'\uFB2B', 0xF9, 0xD2, 0x00}, {u'\uFB2C', 0xF9, 0xCC, 0xD1}, {u'\uFB2D', 0xF9, 0xCC, 0xD2},
    {u'\uFB2E', 0xE0, 0xC7, 0x00}, {u'\uFB2F', 0xE0, 0xC8, 0x00}, {u'\uFB30', 0xE0, 0xCC, 0x00},
    {u'\uFB31', 0xE1, 0xCC, 0x00}, {u'\uFB32', 0xE2, 0xCC, 0x00}, {u'\uFB33', 0xE3, 0xCC, 0x00},
    {u'\uFB34', 0xE4, 0xCC, 0x00}, {u'\uFB35', 0xE5, 0xCC, 0x00}, {u'\uFB36', 0xE6, 0xCC, 0x00},
    {u'\uFB38', 0xE8, 0xCC, 0x00}, {u'\uFB39', 0xE9, 0xCC, 0x00}, {u'\uFB3A', 0xEA, 0xCC, 0x00},
    {u'\uFB3B', 0xEB, 0xCC, 0x00}, {u'\uFB3C', 0xEC, 0xCC, 0x00}, {u'\uFB3E', 0xEE, 0xCC, 0x00},
    {u'\uFB40', 0xF0, 0xCC, 0x00}, {u'\uFB41', 0xF1, 0xCC, 0x00}, {u'\uFB43', 0xF3, 0xCC, 0x00},
    {u'\uFB44', 0xF4, 0xCC, 0x00}, {u'\uFB46', 0xF6, 0xCC, 0x00}, {u'\uFB47', 0xF7, 0xCC, 0x00},
    {u'\uFB48', 0xF8, 0xCC, 0x00}, {u'\uFB49', 0xF9, 0xCC, 0x00}, {u'\uFB4A', 0xFA, 0xCC, 0x00},
    {u'\uFB4B', 0xE5, 0xC9, 0x00}, {u'\uFB4C', 0xE1, 0xCF, 0x00}, {u'\uFB4D', 0xEB, 0xCF, 0x00},
    {u'\uFB4E', 0xF4, 0xCF, 0x00},
}};

inline constexpr std::array<Composed, 181> kComposed1258 = {{
    {u'\u00C3', 0x41, 0xDE, 0x00}, {u'\u00CC', 0x49, 0xCC, 0x00}, {u'\u00D2', 0x4F, 0xCC, 0x00},
    {u'\u00D5', 0x4F, 0xDE, 0x00}, {u'\u00DD', 0x59, 0xEC, 0x00}, {u'\u00E3', 0x61, 0xDE, 0x00},
    {u'\u00EC', 0x69, 0xCC, 0x00}, {u'\u00F2', 0x6F, 0xCC, 0x00}, {u'\u00F5', 0x6F, 0xDE, 0x00},
    {u'\u00FD', 0x79, 0xEC, 0x00}, {u'\u0106', 0x43, 0xEC, 0x00}, {u'\u0107', 0x63, 0xEC, 0x00},
    {u'\u0128', 0x49, 0xDE, 0x00}, {u'\u0129', 0x69, 0xDE, 0x00}, {u'\u0139', 0x4C, 0xEC, 0x00},
    {u'\u013A', 0x6C, 0xEC, 0x00}, {u'\u0143', 0x4E, 0xEC, 0x00}, {u'\u0144', 0x6E, 0xEC, 0x00},
    {u'\u0154', 0x52, 0xEC, 0x00}, {u'\u0155', 0x72, 0xEC, 0x00}, {u'\u015A', 0x53, 0xEC, 0x00},
    {u'\u015B', 0x73, 0xEC, 0x00}, {u'\u0168', 0x55, 0xDE, 0x00}, {u'\u0169', 0x75, 0xDE, 0x00},
    {u'\u0179', 0x5A, 0xEC, 0x00}, {u'\u017A', 0x7A, 0xEC, 0x00}, {u'\u01D7', 0xDC, 0xEC, 0x00},
    {u'\u01D8', 0xFC, 0xEC, 0x00}, {u'\u01DB', 0xDC, 0xCC, 0x00}, {u'\u01DC', 0xFC, 0xCC, 0x00},
    {u'\u01F4', 0x47, 0xEC, 0x00}, {u'\u01F5', 0x67, 0xEC, 0x00}, {u'\u01F8', 0x4E, 0xCC, 0x00},
    {u'\u01F9', 0x6E, 0xCC, 0x00}, {u'\u01FA', 0xC5, 0xEC, 0x00}, {u'\u01FB', 0xE5, 0xEC, 0x00},
    {u'\u01FC', 0xC6, 0xEC, 0x00}, {u'\u01FD', 0xE6, 0xEC, 0x00}, {u'\u01FE', 0xD8, 0xEC, 0x00},
    {u'\u01FF', 0xF8, 0xEC, 0x00}, {u'\u0340', 0xCC, 0x00, 0x00}, {u'\u0341', 0xEC, 0x00, 0x00},
    {u'\u0385', 0xA8, 0xEC, 0x00}, {u'\u1E04', 0x42, 0xF2, 0x00}, {u'\u1E05', 0x62, 0xF2, 0x00},
    {u'\u1E08', 0xC7, 0xEC, 0x00}, {u'\u1E09', 0xE7, 0xEC, 0x00}, {u'\u1E0C', 0x44, 0xF2, 0x00},
    {u'\u1E0D', 0x64, 0xF2, 0x00}, {u'\u1E24', 0x48, 0xF2, 0x00}, {u'\u1E25', 0x68, 0xF2, 0x00},
    {u'\u1E2E', 0xCF, 0xEC, 0x00}, {u'\u1E2F', 0xEF, 0xEC, 0x00}, {u'\u1E30', 0x4B, 0xEC, 0x00},
    {u'\u1E31', 0x6B, 0xEC, 0x00}, {u'\u1E32', 0x4B, 0xF2, 0x00}, {u'\u1E33', 0x6B, 0xF2, 0x00},
    {u'\u1E36', 0x4C, 0xF2, 0x00}, {u'\u1E37', 0x6C, 0xF2, 0x00}, {u'\u1E3E', 0x4D, 0xEC, 0x00},
    {u'\u1E3F', 0x6D, 0xEC, 0x00}, {u'\u1E42', 0x4D, 0xF2, 0x00}, {u'\u1E43', 0x6D, 0xF2, 0x00},
    {u'\u1E46', 0x4E, 0xF2, 0x00}, {u'\u1E47', 0x6E, 0xF2, 0x00}, {u'\u1E4C', 0x4F, 0xDE, 0xEC},
    {u'\u1E4D', 0x6F, 0xDE, 0xEC}, {u'\u1E54', 0x50, 0xEC, 0x00}, {u'\u1E55', 0x70, 0xEC, 0x00},
    {u'\u1E5A', 0x52, 0xF2, 0x00}, {u'\u1E5B', 0x72, 0xF2, 0x00}, {u'\u1E62', 0x53, 0xF2, 0x00},
    {u'\u1E63', 0x73, 0xF2, 0x00}, {u'\u1E6C', 0x54, 0xF2, 0x00}, {u'\u1E6D', 0x74, 0xF2, 0x00},
    {u'\u1E78', 0x55, 0xDE, 0xEC}, {u'\u1E79', 0x75, 0xDE, 0xEC}, {u'\u1E7C', 0x56, 0xDE, 0x00},
    {u'\u1E7D', 0x76, 0xDE, 0x00}, {u'\u1E7E', 0x56, 0xF2, 0x00}, {u'\u1E7F', 0x76, 0xF2, 0x00},
    {u'\u1E80', 0x57, 0xCC, 0x00}, {u'\u1E81', 0x77, 0xCC, 0x00}, {u'\u1E82', 0x57, 0xEC, 0x00},
    {u'\u1E83', 0x77, 0xEC, 0x00}, {u'\u1E88', 0x57, 0xF2, 0x00}, {u'\u1E89', 0x77, 0xF2, 0x00},
    {u'\u1E92', 0x5A, 0xF2, 0x00}, {u'\u1E93', 0x7A, 0xF2, 0x00}, {u'\u1EA0', 0x41, 0xF2, 0x00},
    {u'\u1EA1', 0x61, 0xF2, 0x00}, {u'\u1EA2', 0x41, 0xD2, 0x00}, {u'\u1EA3', 0x61, 0xD2, 0x00},
    {u'\u1EA4', 0xC2, 0xEC, 0x00}, {u'\u1EA5', 0xE2, 0xEC, 0x00}, {u'\u1EA6', 0xC2, 0xCC, 0x00},
    {u'\u1EA7', 0xE2, 0xCC, 0x00}, {u'\u1EA8', 0xC2, 0xD2, 0x00}, {u'\u1EA9', 0xE2, 0xD2, 0x00},
    {u'\u1EAA', 0xC2, 0xDE, 0x00}, {u'\u1EAB', 0xE2, 0xDE, 0x00}, {u'\u1EAC', 0xC2, 0xF2, 0x00},
    {u'\u1EAD', 0xE2, 0xF2, 0x00}, {u'\u1EAE', 0xC3, 0xEC, 0x00}, {u'\u1EAF', 0xE3, 0xEC, 0x00},
    {u'\u1EB0', 0xC3, 0xCC, 0x00}, {u'\u1EB1', 0xE3, 0xCC, 0x00}, {u'\u1EB2', 0xC3, 0xD2, 0x00},
    {u'\u1EB3', 0xE3, 0xD2, 0x00}, {u'\u1EB4', 0xC3, 0xDE, 0x00}, {u'\u1EB5', 0xE3, 0xDE, 0x00},
    {u'\u1EB6', 0xC3, 0xF2, 0x00}, {u'\u1EB7', 0xE3, 0xF2, 0x00}, {u'\u1EB8', 0x45, 0xF2, 0x00},
    {u'\u1EB9', 0x65, 0xF2, 0x00}, {u'\u1EBA', 0x45, 0xD2, 0x00}, {u'\u1EBB', 0x65, 0xD2, 0x00},
    {u'\u1EBC', 0x45, 0xDE, 0x00}, {u'\u1EBD', 0x65, 0xDE, 0x00}, {u'\u1EBE', 0xCA, 0xEC, 0x00},
    {u'\u1EBF', 0xEA, 0xEC, 0x00}, {u'\u1EC0', 0xCA, 0xCC, 0x00}, {u'\u1EC1', 0xEA, 0xCC, 0x00},
    {u'\u1EC2', 0xCA, 0xD2, 0x00}, {u'\u1EC3', 0xEA, 0xD2, 0x00}, {u'\u1EC4', 0xCA, 0xDE, 0x00},
    {u'\u1EC5', 0xEA, 0xDE, 0x00}, {u'\u1EC6', 0xCA, 0xF2, 0x00}, {u'\u1EC7', 0xEA, 0xF2, 0x00},
    {u'\u1EC8', 0x49, 0xD2, 0x00}, {u'\u1EC9', 0x69, 0xD2, 0x00}, {u'\u1ECA', 0x49, 0xF2, 0x00},
    {u'\u1ECB', 0x69, 0xF2, 0x00}, {u'\u1ECC', 0x4F, 0xF2, 0x00}, {u'\u1ECD', 0x6F, 0xF2, 0x00},
    {u'\u1ECE', 0x4F, 0xD2, 0x00}, {u'\u1ECF', 0x6F, 0xD2, 0x00}, {u'\u1ED0', 0xD4, 0xEC, 0x00},
    {u'\u1ED1', 0xF4, 0xEC, 0x00}, {u'\u1ED2', 0xD4, 0xCC, 0x00}, {u'\u1ED3', 0xF4, 0xCC, 0x00},
    {u'\u1ED4', 0xD4, 0xD2, 0x00}, {u'\u1ED5', 0xF4, 0xD2, 0x00}, {u'\u1ED6', 0xD4, 0xDE, 0x00},
    {u'\u1ED7', 0xF4, 0xDE, 0x00}, {u'\u1ED8', 0xD4, 0xF2, 0x00}, {u'\u1ED9', 0xF4, 0xF2, 0x00},
    {u'\u1EDA', 0xD5, 0xEC, 0x00}, {u'\u1EDB', 0xF5, 0xEC, 0x00}, {u'\u1EDC', 0xD5, 0xCC, 0x00},
    {u'\u1EDD', 0xF5, 0xCC, 0x00}, {u'\u1EDE', 0xD5, 0xD2, 0x00}, {u'\u1EDF', 0xF5, 0xD2, 0x00},
    {u'\u1EE0', 0xD5, 0xDE, 0x00}, {u'\u1EE1', 0xF5, 0xDE, 0x00}, {u'\u1EE2', 0xD5, 0xF2, 0x00},
    {u'\u1EE3', 0xF5, 0xF2, 0x00}, {u'\u1EE4', 0x55, 0xF2, 0x00}, {u'\u1EE5', 0x75, 0xF2, 0x00},
    {u'\u1EE6', 0x55, 0xD2, 0x00}, {u'\u1EE7', 0x75, 0xD2, 0x00}, {u'\u1EE8', 0xDD, 0xEC, 0x00},
    {u'\u1EE9', 0xFD, 0xEC, 0x00}, {u'\u1EEA', 0xDD, 0xCC, 0x00}, {u'\u1EEB', 0xFD, 0xCC, 0x00},
    {u'\u1EEC', 0xDD, 0xD2, 0x00}, {u'\u1EED', 0xFD, 0xD2, 0x00}, {u'\u1EEE', 0xDD, 0xDE, 0x00},
    {u'\u1EEF', 0xFD, 0xDE, 0x00}, {u'\u1EF0', 0xDD, 0xF2, 0x00}, {u'\u1EF1', 0xFD, 0xF2, 0x00},
    {u'\u1EF2', 0x59, 0xCC, 0x00}, {u'\u1EF3', 0x79, 0xCC, 0x00}, {u'\u1EF4', 0x59, 0xF2, 0x00},
    {u'\u1EF5', 0x79, 0xF2, 0x00}, {u'\u1EF6', 0x59, 0xD2, 0x00}, {u'\u1EF7', 0x79, 0xD2, 0x00},
    {u'\u1EF8', 0x59, 0xDE, 0x00}, {u'\u1EF9', 0x79, 0xDE, 0x00}, {u'\u1FED', 0xA8, 0xCC, 0x00},
    {u'\u1FEE', 0xA8, 0xEC, 0x00},
}};

} // namespace quorvale::codepage::tables
