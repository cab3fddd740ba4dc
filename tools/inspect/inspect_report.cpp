#include "inspect/inspect_report.h"

#include "io/metadata_catalogue.h"

namespace zelgen {

namespace {

const char* rangeWord(std::uint8_t code) {
    switch (zel::io::outputRangeOf(code)) {
        case 0:
            return "full";
        case 1:
            return "legal";
        default:
            return "unknown";
    }
}

// An empty field shows as a dash, so that the columns of the report stay readable.
std::string shown(const std::string& text) {
    return text.empty() ? "-" : text;
}

nlohmann::json blockJson(const MetadataBlockInfo& block) {
    nlohmann::json json = {
        {"kindCode", block.kindCode},
        {"sourceTransfer", block.sourceTransfer},
        {"sourcePrimaries", block.sourcePrimaries},
        {"lutNameA", block.lutNameA},
        {"lutNameB", block.lutNameB},
        {"outputPrimaries", block.outputPrimaries},
        {"outputTransfer", block.outputTransfer},
        {"outputCoding", block.outputCoding},
        {"description", block.description},
        {"rangeCode", block.rangeCode},
    };
    if (block.classNumber >= 0) {
        json["classNumber"] = block.classNumber;
        json["texts"] = block.texts;
    }
    return json;
}

nlohmann::json bodyJson(const BodyInfo& body) {
    nlohmann::json passes = nlohmann::json::array();
    for (const auto& [pass, summary] : body.passes) {
        passes.push_back({{"pass", pass},
                          {"entries", summary.entries},
                          {"records", summary.records},
                          {"reused", summary.reused},
                          {"empty", summary.empty}});
    }
    nlohmann::json entries = nlohmann::json::array();
    for (const BodyEntryInfo& e : body.entries) {
        entries.push_back({{"slot", e.slot},
                           {"flag", e.flag},
                           {"pass", e.pass},
                           {"entryTag", e.entryTag},
                           {"typeCode", e.typeCode},
                           {"valuesOnly", e.valuesOnly},
                           {"category", e.category},
                           {"subtype", e.subtype},
                           {"mode", e.mode},
                           {"registerCount", e.registerCount},
                           {"offset", e.offset},
                           {"reused", e.reused},
                           {"recordOk", e.recordOk}});
    }
    return {{"magic", "CHIP"},
            {"headLength", body.headLength},
            {"entryTableOffset", body.entryTableOffset},
            {"length", body.length},
            {"entrySlots", body.entrySlots},
            {"entriesWritten", body.entries.size()},
            {"dataLength", body.dataLength},
            {"records", body.records},
            {"recordBytes", body.recordBytes},
            {"badRecords", body.badRecords},
            {"passes", passes},
            {"entries", entries}};
}

}  // namespace

nlohmann::json lookFileJson(const LookFileInfo& info, const std::string& path) {
    const FileHeaderInfo& f = info.fileHeader;
    const LookHeaderInfo& l = info.lookHeader;
    nlohmann::json listEntries = nlohmann::json::array();
    for (const MetadataListEntry& e : info.metadataList.entries) {
        listEntries.push_back(
            {{"sourceTag", e.sourceTag}, {"index", e.index}, {"offset", e.offset}});
    }
    nlohmann::json blocks = nlohmann::json::array();
    for (const MetadataBlockInfo& block : info.metadataBlocks) {
        blocks.push_back(blockJson(block));
    }
    return {
        {"file", path},
        {"fileSize", info.fileSize},
        {"layout", info.layout},
        {"fileHeader",
         {{"magic", "QKDF"},
          {"length", f.length},
          {"formatBytes", {f.formatBytes[0], f.formatBytes[1], f.formatBytes[2], f.formatBytes[3]}},
          {"lookHeaderOffset", f.lookHeaderOffset},
          {"headerPartLength", f.headerPartLength},
          {"model", f.modelName},
          {"lookFileName", f.lookFileName},
          {"created", f.created},
          {"text", f.text},
          {"tag", f.tag}}},
        {"lookHeader",
         {{"magic", "LOOK"},
          {"length", l.length},
          {"outputClass", l.outputClass},
          {"outputCode", l.outputCode},
          {"outputEncoding", l.outputEncoding},
          {"rangeCode", l.rangeCode},
          {"rangeName", l.rangeName},
          {"peak", l.peak},
          {"lookName", l.lookName},
          {"version", l.version},
          {"text", l.text},
          {"note", l.note},
          {"sourceCode", l.sourceCode},
          {"source", l.source},
          {"gridSize", l.gridSize}}},
        {"metadataHeaderList",
         {{"magic", "MDHL"},
          {"listLength", info.metadataList.listLength},
          {"blockLength", info.metadataList.blockLength},
          {"blockCount", info.metadataList.blockCount},
          {"entries", listEntries}}},
        {"metadataBlocks", blocks},
        {"body", bodyJson(info.body)},
        {"problems", info.problems},
    };
}

void printLookFileReport(const LookFileInfo& info, const std::string& path, std::ostream& out) {
    const FileHeaderInfo& f = info.fileHeader;
    const LookHeaderInfo& l = info.lookHeader;
    out << path << ": " << info.layout << " look file, " << info.fileSize << " bytes\n\n";
    out << "File header\n"
        << "  camera model      " << f.modelName << "\n"
        << "  look file name    " << f.lookFileName << "\n"
        << "  created           " << (f.created.empty() ? "(no time stamp)" : f.created) << "\n"
        << "  text              " << f.text << "\n"
        << "  tag               " << f.tag << "\n"
        << "  format bytes      " << unsigned{f.formatBytes[0]} << ' ' << unsigned{f.formatBytes[1]}
        << ' ' << unsigned{f.formatBytes[2]} << ' ' << unsigned{f.formatBytes[3]} << "\n"
        << "  body starts at    byte " << f.headerPartLength << "\n\n";
    out << "Look header\n"
        << "  look name         " << l.lookName << "\n"
        << "  source encoding   " << (l.source.empty() ? "unknown" : l.source) << " (code "
        << l.sourceCode << ")\n"
        << "  output            " << l.outputEncoding << ", peak " << l.peak << " (codes '"
        << l.outputClass << "' '" << l.outputCode << "')\n"
        << "  range             " << l.rangeName << " (" << rangeWord(l.rangeCode) << ", code "
        << unsigned{l.rangeCode} << ")\n"
        << "  grid size         " << unsigned{l.gridSize} << "\n"
        << "  version           " << l.version << "\n"
        << "  note              " << l.note << "\n"
        << "  text              " << l.text << "\n\n";
    out << "Metadata: " << info.metadataList.blockCount << " blocks of "
        << info.metadataList.blockLength << " bytes, list of " << info.metadataList.entries.size()
        << " entries\n";
    for (std::size_t k = 0; k < info.metadataBlocks.size(); ++k) {
        const MetadataBlockInfo& b = info.metadataBlocks[k];
        const std::string tag =
            k < info.metadataList.entries.size() ? info.metadataList.entries[k].sourceTag : "?";
        out << "  block " << k << " [" << tag << "] kind " << b.kindCode << ", range code "
            << unsigned{b.rangeCode} << "\n"
            << "    source       " << shown(b.sourceTransfer) << " / " << shown(b.sourcePrimaries)
            << "\n"
            << "    output       " << shown(b.outputTransfer) << " / " << shown(b.outputPrimaries)
            << " / " << shown(b.outputCoding) << "\n"
            << "    LUT names    " << shown(b.lutNameA) << " | " << shown(b.lutNameB) << "\n"
            << "    description  " << shown(b.description) << "\n";
        if (b.classNumber >= 0) {
            out << "    class " << b.classNumber << ": " << b.texts.at("classTransfer") << " / "
                << b.texts.at("classPrimaries") << " / " << b.texts.at("classCoding") << ", output "
                << b.texts.at("finalTransfer") << " / " << b.texts.at("finalPrimaries") << " / "
                << b.texts.at("finalCoding") << "\n";
        }
    }
    const BodyInfo& body = info.body;
    out << "\nBody: " << body.length << " bytes after the head, " << body.entries.size() << " of "
        << body.entrySlots << " entries written, " << body.dataLength << " data bytes\n";
    for (const auto& [pass, s] : body.passes) {
        out << "  pass " << pass << ": " << s.entries << " entries, " << s.records
            << " new records, " << s.reused << " reusing earlier records, " << s.empty
            << " empty\n";
    }
    out << "  records: " << body.records << ", " << body.badRecords << " with wrong markers\n";
    if (!info.problems.empty()) {
        out << "\nProblems\n";
        for (const std::string& problem : info.problems) {
            out << "  " << problem << "\n";
        }
    }
}

}  // namespace zelgen
