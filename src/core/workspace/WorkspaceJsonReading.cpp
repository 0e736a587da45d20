#include <cmath>
#include <initializer_list>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "core/workspace/WorkspaceJson.h"

namespace travik {
namespace {

using Json = nlohmann::ordered_json;

// A refusal while reading; becomes the result's error with the file named.
class RefusedField : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the fields of one JSON object, remembering the names it was not asked for.
class ObjectReader {
  public:
    ObjectReader(const Json& object, std::string where, std::set<std::string>& unknown)
        : object_(object), where_(std::move(where)), unknown_(unknown) {
        if (!object_.is_object()) {
            throw RefusedField((where_.empty() ? std::string("it") : where_) + " is not an object");
        }
    }
    ObjectReader(const ObjectReader&) = delete;
    ObjectReader& operator=(const ObjectReader&) = delete;
    ~ObjectReader() = default;

    const Json* Find(const std::string& key) {
        asked_.insert(key);
        const auto found = object_.find(key);
        return found == object_.end() ? nullptr : &*found;
    }
    const Json& Need(const std::string& key) {
        const Json* value = Find(key);
        if (value == nullptr) {
            throw RefusedField(Name(key) + " is missing");
        }
        return *value;
    }
    double Number(const std::string& key, double fallback) {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_number() || !std::isfinite(value->get<double>())) {
            throw RefusedField(Name(key) + " is not a finite number");
        }
        return value->get<double>();
    }
    int Whole(const std::string& key, int fallback, int low, int high) {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_number_integer() || value->get<long long>() < low ||
            value->get<long long>() > high) {
            throw RefusedField(Name(key) + " is not a whole number from " + std::to_string(low) +
                               " to " + std::to_string(high));
        }
        return static_cast<int>(value->get<long long>());
    }
    bool Flag(const std::string& key, bool fallback) {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_boolean()) {
            throw RefusedField(Name(key) + " is not true or false");
        }
        return value->get<bool>();
    }
    std::string Text(const std::string& key, const std::string& fallback) {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_string()) {
            throw RefusedField(Name(key) + " is not a text");
        }
        return value->get<std::string>();
    }
    // One of `choices` (texts), as its index.
    std::size_t Choice(const std::string& key, std::initializer_list<const char*> choices,
                       std::size_t fallback) {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        std::size_t index = 0;
        for (const char* choice : choices) {
            if (value->is_string() && value->get<std::string>() == choice) {
                return index;
            }
            ++index;
        }
        throw RefusedField(Name(key) + " is not one of the values it may take");
    }
    std::string Name(const std::string& key) const {
        return where_.empty() ? key : where_ + "." + key;
    }
    // Records the fields this object holds that nobody asked for.
    void Finish() {
        for (const auto& [key, value] : object_.items()) {
            if (!asked_.contains(key)) {
                unknown_.insert(Name(key));
            }
        }
    }

  private:
    const Json& object_;
    std::string where_;
    std::set<std::string>& unknown_;
    std::set<std::string> asked_;
};

FilterSettings ReadFilter(const Json& json, const std::string& where,
                          std::set<std::string>& unknown) {
    ObjectReader reader(json, where, unknown);
    FilterSettings filter;
    filter.band = static_cast<FilterBand>(reader.Choice("band", {"lowpass", "highpass", "bandpass"},
                                                        static_cast<std::size_t>(filter.band)));
    filter.lowCorner = reader.Number("lowCorner", filter.lowCorner);
    filter.highCorner = reader.Number("highCorner", filter.highCorner);
    filter.order = reader.Whole("order", filter.order, 1, 8);
    filter.acausal = reader.Flag("acausal", filter.acausal);
    reader.Finish();
    if (const std::optional<FilterProblem> problem = filter.CheckSettings()) {
        throw RefusedField(where + ": " + problem->message);
    }
    return filter;
}

WorkspaceRecordSetup ReadRecordSetup(const Json& json, const std::string& where,
                                     std::set<std::string>& unknown) {
    ObjectReader reader(json, where, unknown);
    WorkspaceRecordSetup record;
    record.checked = reader.Flag("checked", record.checked);
    record.baseline = static_cast<BaselineCorrectionType>(reader.Choice(
        "baseline", {"linear", "parabolic", "none"}, static_cast<std::size_t>(record.baseline)));
    if (const Json* filter = reader.Find("filter"); filter != nullptr && !filter->is_null()) {
        record.filter = ReadFilter(*filter, reader.Name("filter"), unknown);
    }
    reader.Finish();
    return record;
}

RecordReadOptions ReadReading(const Json& json, const std::string& where,
                              std::set<std::string>& unknown) {
    ObjectReader reader(json, where, unknown);
    RecordReadOptions read;
    const std::string format = reader.Text("format", std::string(RecordFormatKey(read.format)));
    const std::optional<RecordFormat> known = RecordFormatFromKey(format);
    if (!known) {
        throw RefusedField(reader.Name("format") + " \"" + format + "\" is no record format");
    }
    read.format = *known;
    FreeFormatParameters& free = read.free;
    free.timeStep = reader.Number("timeStep", free.timeStep);
    free.scalingFactor = reader.Number("scalingFactor", free.scalingFactor);
    free.linesToSkip = reader.Whole("linesToSkip", free.linesToSkip, 0, 100);
    free.delimiter = reader.Choice("delimiter", {"comma", "space"}, 0) == 1 ? Delimiter::Space
                                                                            : Delimiter::Comma;
    free.accelerationColumn = reader.Whole("accelerationColumn", free.accelerationColumn, 1, 100);
    free.decimalSeparator =
        reader.Choice("decimalSeparator", {".", ","}, free.decimalSeparator == ',' ? 1 : 0) == 1
            ? ','
            : '.';
    if (reader.Find("timeStepOverride") != nullptr) {
        read.timeStepOverride = reader.Number("timeStepOverride", 0.0);
    }
    reader.Finish();
    if (const std::optional<std::string> problem = free.Validate()) {
        throw RefusedField(where + ": " + *problem);
    }
    if (const std::string problem = read.Check(); !problem.empty()) {
        throw RefusedField(where + ".timeStepOverride: " + problem);
    }
    return read;
}

WorkspaceFileEntry ReadFileEntry(const Json& json, const std::string& where,
                                 std::set<std::string>& unknown) {
    ObjectReader reader(json, where, unknown);
    WorkspaceFileEntry file;
    file.path = reader.Text("path", "");
    if (file.path.empty()) {
        throw RefusedField(reader.Name("path") + " is missing or empty");
    }
    if (const Json* size = reader.Find("size")) {
        if (!size->is_number_unsigned()) {
            throw RefusedField(reader.Name("size") + " is not a whole number of bytes");
        }
        file.size = size->get<std::uintmax_t>();
    }
    if (const Json* reading = reader.Find("reading")) {
        file.read = ReadReading(*reading, reader.Name("reading"), unknown);
    }
    if (const Json* records = reader.Find("records")) {
        if (!records->is_array()) {
            throw RefusedField(reader.Name("records") + " is not a list");
        }
        for (std::size_t i = 0; i < records->size(); ++i) {
            file.records.push_back(ReadRecordSetup(
                (*records)[i], reader.Name("records") + "[" + std::to_string(i) + "]", unknown));
        }
    }
    reader.Finish();
    return file;
}

AnalysisSettings ReadAnalysis(const Json& json, std::set<std::string>& unknown) {
    ObjectReader reader(json, "analysis", unknown);
    AnalysisSettings settings;
    settings.g = reader.Number("g", settings.g);
    settings.minPeriod = reader.Number("minPeriod", settings.minPeriod);
    settings.maxPeriod = reader.Number("maxPeriod", settings.maxPeriod);
    settings.periodStep = reader.Number("periodStep", settings.periodStep);
    settings.method = reader.Choice("method", {"exact", "newmark"}, 0) == 1
                          ? IntegrationMethod::Newmark
                          : IntegrationMethod::PiecewiseExact;
    settings.maxDtOverT = reader.Number("maxDtOverT", settings.maxDtOverT);
    settings.beta = reader.Number("beta", settings.beta);
    settings.gamma = reader.Number("gamma", settings.gamma);
    reader.Finish();
    if (const std::optional<std::string> refusal = CheckGravity(settings.g)) {
        throw RefusedField("analysis.g: " + *refusal);
    }
    if (const std::optional<SettingsProblem> problem = settings.Validate()) {
        throw RefusedField("analysis: " + problem->message);
    }
    return settings;
}

std::vector<double> ReadDamping(const Json& json) {
    if (!json.is_array() || json.empty() || json.size() > kMaxDampingValues) {
        throw RefusedField("damping is not a list of 1 to " + std::to_string(kMaxDampingValues) +
                           " values");
    }
    std::vector<double> percents;
    for (const Json& value : json) {
        // The damping edits' one check: a ratio below 1 (zero and negative damping are
        // the user's choice).
        if (!value.is_number() || !std::isfinite(value.get<double>()) ||
            !(value.get<double>() * 0.01 < 1.0)) {
            throw RefusedField("damping holds a value that is not a percentage below 100");
        }
        percents.push_back(value.get<double>());
    }
    return percents;
}

std::map<std::string, std::string> ReadFigures(const Json& json) {
    if (!json.is_object()) {
        throw RefusedField("figures is not an object");
    }
    std::map<std::string, std::string> figures;
    for (const auto& [key, value] : json.items()) {
        if (!value.is_string()) {
            throw RefusedField("figures." + key + " is not a text");
        }
        figures[key] = value.get<std::string>();
    }
    return figures;
}

void CheckMarker(ObjectReader& top) {
    const Json* marker = top.Find("format");
    if (marker == nullptr || !marker->is_string() ||
        marker->get<std::string>() != kWorkspaceFormatMarker) {
        throw RefusedField(std::string("it lacks \"format\": \"") + kWorkspaceFormatMarker + "\"");
    }
}

WorkspaceDocument ReadDocument(const Json& json, int& version, std::set<std::string>& unknown) {
    ObjectReader top(json, "", unknown);
    CheckMarker(top);
    const Json& versionValue = top.Need("version");
    if (!versionValue.is_number_integer() || versionValue.get<long long>() < 1) {
        throw RefusedField("its \"version\" is not a whole number from 1 up");
    }
    version = versionValue.get<long long>() > 1'000'000
                  ? 1'000'000
                  : static_cast<int>(versionValue.get<long long>());
    WorkspaceDocument document;
    if (const Json* files = top.Find("files")) {
        if (!files->is_array()) {
            throw RefusedField("files is not a list");
        }
        for (std::size_t i = 0; i < files->size(); ++i) {
            document.files.push_back(
                ReadFileEntry((*files)[i], "files[" + std::to_string(i) + "]", unknown));
        }
    }
    if (const Json* analysis = top.Find("analysis")) {
        document.analysis = ReadAnalysis(*analysis, unknown);
    }
    if (const Json* damping = top.Find("damping")) {
        document.dampingPercents = ReadDamping(*damping);
    }
    if (const Json* figures = top.Find("figures")) {
        document.figures = ReadFigures(*figures);
    }
    top.Finish();
    return document;
}

std::string JoinNames(const std::set<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return joined;
}

}  // namespace

WorkspaceReadResult ParseWorkspaceJson(std::string_view text, const std::string& fileName) {
    WorkspaceReadResult result;
    result.fileName = fileName;
    const std::string refused = "Cannot open the workspace " + fileName + ": ";
    const Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded()) {
        result.error = refused + "it is not valid JSON";
        return result;
    }
    std::set<std::string> unknown;
    int version = 0;
    try {
        result.document = ReadDocument(json, version, unknown);
    } catch (const RefusedField& refusal) {
        result.error = refused + refusal.what();
        return result;
    }
    if (version > kWorkspaceVersion) {
        result.warnings.push_back("The workspace " + fileName + " was written by a later version " +
                                  "of TRAVIK (workspace version " + std::to_string(version) +
                                  "); what this version does not know is ignored" +
                                  (unknown.empty() ? "" : ": " + JoinNames(unknown)));
    } else if (!unknown.empty()) {
        result.warnings.push_back("The workspace " + fileName +
                                  " holds fields this version ignores: " + JoinNames(unknown));
    }
    return result;
}

}  // namespace travik
