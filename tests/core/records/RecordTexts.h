#pragma once

// Record files written in the tests of the readers: small texts of each format and the
// helpers that read them as an import would.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/records/RecordFileReader.h"
#include "core/records/RecordFormat.h"

namespace travik::record_texts {

// The whole of a file, as bytes.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// `text` read as the file `name` in `format`.
inline RecordFileResult ReadText(const std::string& text, RecordFormat format,
                                 const std::string& name = "f.txt") {
    RecordReadOptions options;
    options.format = format;
    return ReadRecordBytes(text, name, options);
}

// A K-NET U-D file of three samples (100, 200 and -300 counts of 9.80665 gal each) with the
// given sampling frequency and duration texts.
inline std::string KnetText(const std::string& frequency, const std::string& duration) {
    const std::vector<std::string> header = {"Origin Time       2014/12/31 23:49:00",
                                             "Lat.              35.785",
                                             "Long.             139.887",
                                             "Depth. (km)       84",
                                             "Mag.              4.2",
                                             "Station Code      CHB003",
                                             "Station Lat.      35.7943",
                                             "Station Long.     140.0564",
                                             "Station Height(m) 28",
                                             "Record Time       2014/12/31 23:50:11",
                                             "Sampling Freq(Hz) " + frequency,
                                             "Duration Time(s)  " + duration,
                                             "Dir.              U-D",
                                             "Scale Factor      980.665(gal)/10000",
                                             "Max. Acc. (gal)   1",
                                             "Last Correction   2014/12/31 23:50:12",
                                             "Memo."};
    std::string text;
    for (const std::string& line : header) {
        text += line + "\n";
    }
    return text + "     100      200     -300\n";
}

}  // namespace travik::record_texts
