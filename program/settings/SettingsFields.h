#pragma once

#include "Options.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace folionix {

// The settings as a table: each visitor hands every field of a record to v(name, field) in declaration
// order. Loading, saving and the batch exporter's --set all walk these instead of naming fields by hand.
template <typename V> void forEachScalarSetting(clsOptions& o, V&& v)
{
    v("ExportFormat", o.ExportFormat);
    v("ExportPath", o.ExportPath);
    v("AlwaysShowCustomWindow", o.AlwaysShowCustomWindow);
    v("bmAlignment", o.bmAlignment);
    v("bmDirectory", o.bmDirectory);
    v("bmFileExtension", o.bmFileExtension);
    v("bmIncludeFormBitmaps", o.bmIncludeFormBitmaps);
    v("bmNewPageAfter", o.bmNewPageAfter);
    v("bmPrintLocation", o.bmPrintLocation);
    v("ClientSideScriptingLanguage", o.ClientSideScriptingLanguage);
    v("ColorMode", o.ColorMode);
    v("Columns", o.Columns);
    v("CoverSheetFileName", o.CoverSheetFileName);
    v("CurrentHomeSite", o.CurrentHomeSite);
    v("Device", o.Device);
    v("Duplex", o.Duplex);
    v("FileFilter", o.FileFilter);
    v("HorizontalSplitterPosition", o.HorizontalSplitterPosition);
    v("LineSpacing", o.LineSpacing);
    v("MainWindowHeight", o.MainWindowHeight);
    v("MainWindowLeft", o.MainWindowLeft);
    v("MainWindowTop", o.MainWindowTop);
    v("MainWindowWidth", o.MainWindowWidth);
    v("MarginBottom", o.MarginBottom);
    v("MarginLeft", o.MarginLeft);
    v("MarginRight", o.MarginRight);
    v("MarginTop", o.MarginTop);
    v("MeasuringSystem", o.MeasuringSystem);
    v("PageBorder", o.PageBorder);
    v("PageOrientation", o.PageOrientation);
    v("PaperBin", o.PaperBin);
    v("PaperSize", o.PaperSize);
    v("PrintQuality", o.PrintQuality);
    v("PrintToc", o.PrintToc);
    v("PrintWhat", o.PrintWhat);
    v("ScaleOutput", o.ScaleOutput);
    v("ServerSideScriptingLanguage", o.ServerSideScriptingLanguage);
    v("ShowFilesInSubFolders", o.ShowFilesInSubFolders);
    v("SourceFontBold", o.SourceFontBold);
    v("SourceFontColor", o.SourceFontColor);
    v("SourceBackColor", o.SourceBackColor);
    v("SourceFontItalic", o.SourceFontItalic);
    v("SourceFontName", o.SourceFontName);
    v("SourceFontSize", o.SourceFontSize);
    v("SourceWordWrap", o.SourceWordWrap);
    v("ToolbarVisible", o.ToolbarVisible);
    v("VerticalSplitterPosition", o.VerticalSplitterPosition);
    v("ViewExportedFile", o.ViewExportedFile);
    v("WatermarkBitmapFile", o.WatermarkBitmapFile);
    v("Zoom", o.Zoom);
    v("ZoomMode", o.ZoomMode);
    v("LineNumberStep", o.LineNumberStep);
    v("LineNumbersRequired", o.LineNumbersRequired);
    v("ResetLineNumbersOn", o.ResetLineNumbersOn);
    v("SourceEncoding", o.SourceEncoding);
}

template <typename V> void forEachLanguageRecord(clsOptions& o, V&& v)
{
    v("VBScriptOptions", o.VBScriptOptions);
    v("JScriptOptions", o.JScriptOptions);
    v("HTMLOptions", o.HTMLOptions);
}

template <typename V> void forEachLanguageField(clsLanguageOptions& l, V&& v)
{
    v("AttibuteUpperCase", l.AttibuteUpperCase);
    v("CommentsIndentStyle", l.CommentsIndentStyle);
    v("ElementUpperCase", l.ElementUpperCase);
    v("FormatKeywords", l.FormatKeywords);
    v("FormatSource", l.FormatSource);
    v("HighlightScriptTags", l.HighlightScriptTags);
    v("IndentSourceCode", l.IndentSourceCode);
    v("PrintConnections", l.PrintConnections);
    v("PrintScriptIndicator", l.PrintScriptIndicator);
    v("ScriptTagsBorderColor", l.ScriptTagsBorderColor);
    v("ScriptTagsFillColor", l.ScriptTagsFillColor);
    v("TabSize", l.TabSize);
}

template <typename V> void forEachFontField(clsFont& f, V&& v)
{
    v("Name", f.Name);
    v("Size", f.Size);
    v("Color", f.Color);
    v("Bold", f.Bold);
    v("Italic", f.Italic);
    v("Underline", f.Underline);
}

template <typename V> void forEachHeaderField(clsHeaderCode& h, V&& v)
{
    v("Left", h.Left);
    v("Centre", h.Centre);
    v("Right", h.Right);
}

// Sets one setting named by its field path: "Columns", "VBScriptOptions.TabSize",
// "Fonts.Keywords.Bold", "HeaderCodes.Footer Codes.Centre". Names ignore letter case. Booleans take
// 1/0, true/false, yes/no, on/off, -1; numbers are decimal or 0x hexadecimal. On failure returns false
// with a message and leaves the setting unchanged.
bool SetSettingByName(clsOptions& options, const QString& path, const QString& value, QString* error);

// The current value as text, or nothing for an unknown name.
std::optional<QString> SettingValueByName(clsOptions& options, const QString& path);

// Every settable path, for help texts.
QStringList SettingNames(clsOptions& options);

} // namespace folionix
