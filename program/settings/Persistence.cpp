#include "Persistence.h"
#include "Regtools.h"
#include "SettingsStore.h"
#include "TagFiles.h"
#include "UserMessages.h"

#include <ErrorTrace.h>

#include <QLocale>
#include <cmath>
#include <limits>
#include <span>
#include <type_traits>
#include <variant>

namespace folionix {

// ---------------------------------------------------------------------------------------------
// The layout of the store as data: each entry names the stored value and the field it holds.

namespace {

template <typename R>
using FieldOf = std::variant<QString R::*, bool R::*, int16_t R::*, int32_t R::*, double R::*>;

template <typename R> struct StoredField
{
    const char* name;
    FieldOf<R> field;
    bool trimmedOnLoad = false;
};

using O = clsOptions;

// The root key in the order it is written. "Always Show Custom Window" is written, never read;
// "Source Encoding" carries this build's own setting.
const StoredField<O> kRootFields[] = {
    {"Device", &O::Device},
    {"Page Border", &O::PageBorder},
    {"Columns", &O::Columns},
    {"Print Quality", &O::PrintQuality},
    {"Line Spacing", &O::LineSpacing},
    {"Duplex", &O::Duplex},
    {"Page Orientation", &O::PageOrientation},
    {"Scale Output", &O::ScaleOutput},
    {"Paper Bin", &O::PaperBin},
    {"Paper Size", &O::PaperSize},
    {"View Exported File", &O::ViewExportedFile},
    {"Always Show Custom Window", &O::AlwaysShowCustomWindow},
    {"Toolbar Visible", &O::ToolbarVisible},
    {"Color Mode", &O::ColorMode},
    {"Print What", &O::PrintWhat},
    {"ZoomMode", &O::ZoomMode},
    {"Zoom", &O::Zoom},
    {"Watermark Bitmap File", &O::WatermarkBitmapFile, true},
    {"CoverSheet File Name", &O::CoverSheetFileName, true},
    {"PrintTOC", &O::PrintToc},
    {"Current Home Site", &O::CurrentHomeSite},
    {"File Filter", &O::FileFilter},
    {"ExportFormat", &O::ExportFormat},
    {"ExportPath", &O::ExportPath},
    {"Print Line Numbers", &O::LineNumbersRequired},
    {"Reset Line Numbers On", &O::ResetLineNumbersOn},
    {"Line Number Step", &O::LineNumberStep},
    {"Show Files In SubFolders", &O::ShowFilesInSubFolders},
    {"Server Side Scripting Language", &O::ServerSideScriptingLanguage},
    {"Client Side Scripting Language", &O::ClientSideScriptingLanguage},
    {"Source Encoding", &O::SourceEncoding},
};

// The root key in the order it is read; names are matched ignoring case, so "PrintToc" finds the
// value written as "PrintTOC".
const char* const kRootLoadOrder[] = {
    "Color Mode",
    "Columns",
    "CoverSheet File Name",
    "Current Home Site",
    "File Filter",
    "Device",
    "Duplex",
    "Line Spacing",
    "Page Border",
    "Page Orientation",
    "Paper Bin",
    "Paper Size",
    "Print Quality",
    "PrintToc",
    "Print What",
    "Scale Output",
    "Toolbar Visible",
    "View Exported File",
    "Watermark Bitmap File",
    "Zoom",
    "ZoomMode",
    "ExportFormat",
    "ExportPath",
    "Print Line Numbers",
    "Reset Line Numbers On",
    "Show Files In SubFolders",
    "Server Side Scripting Language",
    "Client Side Scripting Language",
    "Line Number Step",
    "Source Encoding",
};

const StoredField<O> kSourceFields[] = {
    {"Font Name", &O::SourceFontName},       {"Font Size", &O::SourceFontSize},
    {"Font Bold", &O::SourceFontBold},       {"Font Italic", &O::SourceFontItalic},
    {"Font Color", &O::SourceFontColor},     {"Background Color", &O::SourceBackColor},
    {"Source WordWrap", &O::SourceWordWrap},
};

const StoredField<O> kBitmapFields[] = {
    {"Include Bitmaps", &O::bmIncludeFormBitmaps},
    {"Directory", &O::bmDirectory},
    {"File Extension", &O::bmFileExtension},
    {"New Page After", &O::bmNewPageAfter},
    {"Alignment", &O::bmAlignment},
};

const StoredField<O> kMarginFields[] = {
    {"Top", &O::MarginTop},
    {"Bottom", &O::MarginBottom},
    {"Left", &O::MarginLeft},
    {"Right", &O::MarginRight},
    {"Measuring System", &O::MeasuringSystem},
};

// The window size first: the splitter defaults are computed from it once it is read.
const StoredField<O> kMainWindowSizeFields[] = {
    {"Top", &O::MainWindowTop},
    {"Left", &O::MainWindowLeft},
    {"Width", &O::MainWindowWidth},
    {"Height", &O::MainWindowHeight},
};
const StoredField<O> kSplitterFields[] = {
    {"HorizontalSplitterPosition", &O::HorizontalSplitterPosition},
    {"VerticalSplitterPosition", &O::VerticalSplitterPosition},
};

// The centre part is stored as "Center".
const StoredField<clsHeaderCode> kHeaderFields[] = {
    {"Left", &clsHeaderCode::Left},
    {"Center", &clsHeaderCode::Centre},
    {"Right", &clsHeaderCode::Right},
};
const char* const kHeaderKeys[] = {"Header Codes", "Footer Codes"};

const StoredField<clsFont> kFontFields[] = {
    {"Name", &clsFont::Name}, {"Size", &clsFont::Size},     {"Color", &clsFont::Color},
    {"Bold", &clsFont::Bold}, {"Italic", &clsFont::Italic}, {"Underline", &clsFont::Underline},
};

using L = clsLanguageOptions;
const StoredField<L> kLanguageFields[] = {
    {"Format Keywords", &L::FormatKeywords},
    {"Align Comments", &L::CommentsIndentStyle},
    {"Indent Source Code", &L::IndentSourceCode},
    {"Tab Size", &L::TabSize},
    {"Attributes UpperCase", &L::AttibuteUpperCase},
    {"Elements UpperCase", &L::ElementUpperCase},
    {"Format Source", &L::FormatSource},
    {"Highlight Script Tags", &L::HighlightScriptTags},
    {"Script Tags Fill Color", &L::ScriptTagsFillColor},
    {"Script Tags Border Color", &L::ScriptTagsBorderColor},
    {"ScriptIndicator", &L::PrintScriptIndicator},
    {"PrintConnections", &L::PrintConnections},
};

const QString* const kFontLoadOrder[] = {
    &tokenclass::PageHeaders,      &tokenclass::TOC,      &tokenclass::Identifiers, &tokenclass::LineNumbers,
    &tokenclass::Comments,         &tokenclass::Keywords, &tokenclass::Strings,     &tokenclass::Constants,
    &tokenclass::ProcedureHeaders, &tokenclass::Elements, &tokenclass::Attributes,  &tokenclass::Text,
};
const QString* const kFontSaveOrder[] = {
    &tokenclass::Identifiers, &tokenclass::Comments,  &tokenclass::LineNumbers,
    &tokenclass::PageHeaders, &tokenclass::Keywords,  &tokenclass::ProcedureHeaders,
    &tokenclass::Strings,     &tokenclass::Constants, &tokenclass::Elements,
    &tokenclass::Attributes,  &tokenclass::Text,      &tokenclass::TOC,
};

const int32_t kLanguageOrder[] = {LangVBScript, LangJScript, LangHTML};

QString subkey(const char* suffix)
{
    return OptionsRootKey + QLatin1Char('\\') + QLatin1String(suffix);
}

QString languageKey(int32_t language)
{
    switch (language) {
    case LangJScript:
        return subkey("LanguagePreferences\\JScript");
    case LangVBScript:
        return subkey("LanguagePreferences\\VBScript");
    default:
        return subkey("LanguagePreferences\\HTML");
    }
}

// Reads one value typed as its field; a stored text that is no number of that kind keeps the default.
template <typename T> T readTyped(const QString& key, const QString& name, const T& defaultValue)
{
    if constexpr (std::is_same_v<T, QString>) {
        return ReadOption(key, name, defaultValue);
    } else if constexpr (std::is_same_v<T, bool>) {
        return ReadOption(key, name, defaultValue);
    } else if constexpr (std::is_same_v<T, double>) {
        return StoredReal(ReadOption(key, name, RealToStored(defaultValue))).value_or(defaultValue);
    } else {
        const std::optional<qint64> n = StoredInteger(ReadOption(key, name, QString::number(defaultValue)));
        if (!n || *n < std::numeric_limits<T>::min() || *n > std::numeric_limits<T>::max())
            return defaultValue;
        return T(*n);
    }
}

template <typename R>
void readField(const QString& key, const StoredField<R>& f, R& record, const R& defaults)
{
    std::visit(
        [&](auto member) {
            record.*member = readTyped(key, QLatin1String(f.name), defaults.*member);
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(record.*member)>, QString>) {
                if (f.trimmedOnLoad)
                    record.*member = (record.*member).trimmed();
            }
        },
        f.field);
}

template <typename R> void saveField(const QString& key, const StoredField<R>& f, const R& record)
{
    std::visit([&](auto member) { SaveOption(key, QLatin1String(f.name), record.*member); }, f.field);
}

template <typename R>
void readFields(const QString& key, std::span<const StoredField<R>> fields, R& record, const R& defaults)
{
    for (const StoredField<R>& f : fields)
        readField(key, f, record, defaults);
}

template <typename R>
void saveFields(const QString& key, std::span<const StoredField<R>> fields, const R& record)
{
    for (const StoredField<R>& f : fields)
        saveField(key, f, record);
}

const StoredField<O>& rootField(const char* name)
{
    for (const StoredField<O>& f : kRootFields) {
        if (QLatin1String(f.name).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return f;
    }
    throw mendwick::AppError(mendwick::errnum::InvalidProcedureCall,
                             QStringLiteral("No stored setting: ") + QLatin1String(name),
                             QStringLiteral("clsOptions"));
}

// Every default of the settings object, the screen-relative ones for the screen in use now.
clsOptions freshDefaults()
{
    clsOptions defaults;
    defaults.ApplyDefaults(DefaultScreenTwips());
    return defaults;
}

// ---------------------------------------------------------------------------------------------
// Hive choice. A load, a save or a font reset works on one hive chosen once at its start and reaches
// the store in one write at its end, so that a save never leaves half its values behind.

struct HiveState
{
    Hive hive = Hive::Machine;
    bool writable = true;
    // The pair of store files for which "Failure to update registry" has been shown.
    QString toldFor;
    int sessionDepth = 0;
};

HiveState& hiveState()
{
    static HiveState s;
    return s;
}

void tellRegistryFailure()
{
    HiveState& s = hiveState();
    const QString stores = storeFile(Hive::Machine) + QLatin1Char('\n') + storeFile(Hive::User);
    if (s.toldFor == stores)
        return;
    s.toldFor = stores;
    ShowMessage(QStringLiteral("Failure to update registry"), MessageIcon::Error);
}

void chooseHiveForAccess()
{
    if (hiveState().sessionDepth == 0)
        ChooseHive();
}

class StoreSession
{
public:
    StoreSession()
    {
        if (hiveState().sessionDepth++ > 0)
            return;
        ChooseHive();
        m_store = &store(hiveState().hive);
        m_store->beginBatch();
    }
    ~StoreSession()
    {
        --hiveState().sessionDepth;
        if (m_store && !m_store->endBatch())
            tellRegistryFailure();
    }
    StoreSession(const StoreSession&) = delete;
    StoreSession& operator=(const StoreSession&) = delete;

private:
    SettingsStore* m_store = nullptr;
};

} // namespace

// ---------------------------------------------------------------------------------------------

bool StringToBoolean(const QString& text)
{
    return text == u"1" || text == u"-1" || text == u"True";
}

QString BooleanToString(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<double> StoredReal(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok) {
        QString c = t;
        c.replace(QLatin1Char(','), QLatin1Char('.'));
        v = QLocale::c().toDouble(c, &ok);
    }
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint64> StoredInteger(const QString& text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok, 10);
    if (ok)
        return n;
    const std::optional<double> real = StoredReal(text);
    if (!real || std::fabs(*real) > 9.0e15)
        return std::nullopt;
    return qint64(std::nearbyint(*real)); // the default rounding mode: halves to even
}

QString RealToStored(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

QString ChooseHive()
{
    HiveState& s = hiveState();
    if (store(Hive::Machine).probeWritable()) {
        s = {Hive::Machine, true, QString(), s.sessionDepth};
    } else if (store(Hive::User).probeWritable()) {
        s = {Hive::User, true, QString(), s.sessionDepth};
    } else {
        s.hive = Hive::Machine;
        s.writable = false;
        tellRegistryFailure();
    }
    return HiveName(s.hive);
}

QString CurrentHive()
{
    return HiveName(hiveState().hive);
}

namespace {

// The stored text, or nothing; defaultText only shows in the trace.
std::optional<QString> readStored(const QString& key, const QString& name, const QString& defaultText)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "ReadOption");
    return mendwick::Guard(trace, [&]() -> std::optional<QString> {
        chooseHiveForAccess();
        trace.Stage("Read registry for key = ", key + QLatin1Char('\\') + name);
        QString k = key;
        k.replace(QLatin1String("\\\\"), QLatin1String("\\"));
        const QString hive = CurrentHive();
        QString value;
        if (Regtools().GetKeyValue(hive, k, name, value)) {
            trace.Stage("ReadOption('",
                        hive + QLatin1Char('\\') + k + QLatin1String("', '") + name + QLatin1String("', '") +
                            value,
                        "') OK");
            return value;
        }
        trace.Stage("ReadOption('",
                    hive + QLatin1Char('\\') + k + QLatin1String("', '") + name +
                        QLatin1String("', '') Failed. Default '") + defaultText,
                    " ' assumed");
        return std::nullopt;
    });
}

} // namespace

QString ReadOption(const QString& key, const QString& name, const QString& defaultValue)
{
    return readStored(key, name, defaultValue).value_or(defaultValue);
}

bool ReadOption(const QString& key, const QString& name, bool defaultValue)
{
    const std::optional<QString> text = readStored(key, name, BooleanToString(defaultValue));
    return text ? StringToBoolean(*text) : defaultValue;
}

void SaveOption(const QString& key, const QString& name, const QString& value)
{
    mendwick::ErrorTrace trace("basCommonRoutines", "SaveOption");
    mendwick::Guard(trace, [&] {
        chooseHiveForAccess();
        // Nothing could be written anywhere: the user has been told, the value is lost.
        if (!hiveState().writable)
            return;
        if (!Regtools().UpdateKey(CurrentHive(), key, name, value) && hiveState().sessionDepth == 0)
            tellRegistryFailure();
    });
}

void SaveOption(const QString& key, const QString& name, bool value)
{
    SaveOption(key, name, BooleanToString(value));
}

void SaveOption(const QString& key, const QString& name, double value)
{
    SaveOption(key, name, RealToStored(value));
}

void ReadFont(const QString& key, const QString& tokenClass, const QString& name, int16_t size, int32_t color,
              bool bold, bool italic, bool underline)
{
    mendwick::ErrorTrace trace("clsOptions", "ReadFont");
    mendwick::Guard(trace, [&] {
        trace.Stage("Read font ", tokenClass);
        clsOptions& o = Options();
        clsFont& font = o.Fonts[tokenClass];
        const clsFont defaults{name, size, color, bold, italic, underline};
        readFields<clsFont>(key + QLatin1Char('\\') + tokenClass, kFontFields, font, defaults);
        if (font.Size < 1 || font.Size > 71)
            font.Size = 8;
        if (font.Color < 0)
            font.Color = 0x800000;
    });
}

void SaveFont(const QString& key, const QString& tokenClass)
{
    mendwick::ErrorTrace trace("clsOptions", "SaveFont");
    mendwick::Guard(trace, [&] {
        trace.Stage("Save font ", tokenClass);
        saveFields<clsFont>(key + QLatin1Char('\\') + tokenClass, kFontFields, Options().Font(tokenClass));
    });
}

void ReadLanguageOptions(int32_t language)
{
    mendwick::ErrorTrace trace("clsOptions", "ReadLanguageOptions");
    mendwick::Guard(trace, [&] {
        trace.Stage("Read language options ", qint64(language));
        readFields<L>(languageKey(language), kLanguageFields, Options().LanguageOptions(language), L{});
    });
}

void SaveLanguageOptions(int32_t language)
{
    mendwick::ErrorTrace trace("clsOptions", "SaveLanguageOptions");
    mendwick::Guard(trace, [&] {
        trace.Stage("Save language options ", qint64(language));
        saveFields<L>(languageKey(language), kLanguageFields, Options().LanguageOptions(language));
    });
}

namespace {

void readAllFonts()
{
    const clsOptions d = freshDefaults();
    const QString key = subkey("Fonts");
    for (const QString* tokenClass : kFontLoadOrder) {
        const clsFont& f = d.Fonts.at(*tokenClass);
        ReadFont(key, *tokenClass, f.Name, f.Size, f.Color, f.Bold, f.Italic, f.Underline);
    }
}

} // namespace

void ResetStoredFontDefaults()
{
    mendwick::ErrorTrace trace("clsOptions", "ResetFontDefaults");
    mendwick::Guard(trace, [&] {
        StoreSession session;
        trace.Stage("Delete fonts key");
        if (hiveState().writable)
            Regtools().DeleteKey(CurrentHive(), subkey("Fonts"));
        trace.Stage("Read font defaults");
        readAllFonts();
    });
}

void LoadOptionsFromStore(const OptionsValidator& validate)
{
    mendwick::ErrorTrace trace("clsOptions", "LoadOptions");
    mendwick::Guard(trace, [&] {
        clsOptions& o = Options();
        const clsOptions d = freshDefaults();
        {
            StoreSession session;
            trace.Stage("Read root key");
            for (const char* name : kRootLoadOrder) {
                StoredField<O> f = rootField(name);
                f.name = name;
                readField(OptionsRootKey, f, o, d);
            }
            trace.Stage("Read bitmaps and margins");
            readFields<O>(subkey("Bitmaps"), kBitmapFields, o, d);
            readFields<O>(subkey("Margins"), kMarginFields, o, d);

            trace.Stage("Read header codes");
            o.HeaderCodes.clear();
            for (const char* key : kHeaderKeys) {
                const clsHeaderCode& h = d.HeaderCodes.at(QLatin1String(key));
                o.AddHeader(QLatin1String(key), h.Left, h.Centre, h.Right);
            }
            for (const char* key : kHeaderKeys)
                readFields<clsHeaderCode>(subkey(key), kHeaderFields, o.HeaderCodes.at(QLatin1String(key)),
                                          d.HeaderCodes.at(QLatin1String(key)));

            trace.Stage("Read main window");
            readFields<O>(subkey("Main Window"), kMainWindowSizeFields, o, d);
            clsOptions splitterDefaults;
            splitterDefaults.MainWindowWidth = o.MainWindowWidth;
            splitterDefaults.MainWindowHeight = o.MainWindowHeight;
            splitterDefaults.ApplySplitterDefaults();
            readFields<O>(subkey("Main Window"), kSplitterFields, o, splitterDefaults);

            trace.Stage("Read source panel");
            readFields<O>(subkey("Source"), kSourceFields, o, d);

            trace.Stage("Read fonts");
            readAllFonts();

            trace.Stage("Read language options");
            for (int32_t language : kLanguageOrder)
                ReadLanguageOptions(language);
        }
        trace.Stage("Validate options");
        if (validate)
            validate();
    });
}

void SaveOptionsToStore(const OptionsValidator& validate)
{
    mendwick::ErrorTrace trace("clsOptions", "SaveOptions");
    mendwick::Guard(trace, [&] {
        trace.Stage("Validate options");
        if (validate)
            validate();
        clsOptions& o = Options();
        {
            StoreSession session;
            trace.Stage("Save root key");
            saveFields<O>(OptionsRootKey, kRootFields, o);
            trace.Stage("Save source panel, bitmaps and margins");
            saveFields<O>(subkey("Source"), kSourceFields, o);
            saveFields<O>(subkey("Bitmaps"), kBitmapFields, o);
            saveFields<O>(subkey("Margins"), kMarginFields, o);

            trace.Stage("Save header codes");
            for (const char* key : kHeaderKeys) {
                auto it = o.HeaderCodes.find(QLatin1String(key));
                if (it != o.HeaderCodes.end())
                    saveFields<clsHeaderCode>(subkey(key), kHeaderFields, it->second);
            }

            trace.Stage("Save fonts");
            for (const QString* tokenClass : kFontSaveOrder) {
                if (o.Fonts.contains(*tokenClass))
                    SaveFont(subkey("Fonts"), *tokenClass);
            }

            trace.Stage("Save main window");
            saveFields<O>(subkey("Main Window"), kMainWindowSizeFields, o);
            saveFields<O>(subkey("Main Window"), kSplitterFields, o);

            trace.Stage("Save language options");
            for (int32_t language : kLanguageOrder)
                SaveLanguageOptions(language);
        }
        trace.Stage("Save tag profiles");
        SaveTagProfileDocument();
    });
}

} // namespace folionix
