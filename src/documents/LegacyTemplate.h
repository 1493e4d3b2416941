#pragma once

#include "documents/OfficeError.h"

#include <QString>
#include <QStringList>
#include <memory>

// The arguments that make LibreOffice convert a file headless into outFolder, in the format
// `to` names ("pdf", "docx:MS Word 2007 XML"), with a profile of its own in profileFolder.
QStringList officeConversionArguments(const QString& profileFolder, const QString& to,
                                      const QString& outFolder, const QString& input);

// Old binary templates (.dot, .xlt) and documents (.doc, .xls) converted to their XML
// counterparts (.dotx, .xltx, .docx, .xlsx) with LibreOffice, so that WordDocument and Workbook
// can read them. LibreOffice (soffice or libreoffice on PATH) runs headless with a profile of its
// own, so a LibreOffice the user has open is not disturbed.
//
// The converted file lives in a temporary folder this object owns: it goes when the object does,
// or with the next conversion.
class LegacyTemplate {
public:
    LegacyTemplate();
    ~LegacyTemplate();
    LegacyTemplate(LegacyTemplate&&) noexcept;
    LegacyTemplate& operator=(LegacyTemplate&&) noexcept;

    // Converts the file; when LibreOffice is not installed, error 429 "cannot create object".
    bool convert(const QString& path);
    QString convertedPath() const;  // empty until a conversion succeeds
    const OfficeError& error() const;

    // How long one conversion may take before it is abandoned (error 429); 120 s unless set.
    void setTimeout(int milliseconds);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
