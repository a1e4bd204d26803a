#pragma once

#include <string>
#include <vector>

// A commissioning record as one self-contained HTML page: labelled values in
// titled sections, a picture and notes; inline CSS, no scripts, nothing
// loaded from elsewhere, one A4 page when printed. Also well-formed XML.
struct RecordPage {
    struct Row {
        std::string label;
        std::string value;
        bool failed = false; // shown as the communication error, in red
    };
    struct Section {
        std::string heading;
        std::vector<Row> rows;
    };
    // Lines to sign: a name (printed when known), the date and the signature.
    struct Signer {
        std::string heading;
        std::string name;
    };

    std::string title;
    std::string subtitle;
    Section measuringPoint; // across the page above the others; left out without rows
    std::vector<Section> sections;
    std::string pictureHeading;
    std::string pictureSvg;     // an <svg> element, or empty
    bool pictureFailed = false; // "Chyba komunikace" in the picture's place
    bool linearizationDiffers = false; // the drawn fit is not what the converter holds
    std::vector<std::string> pictureNotes;
    std::vector<std::string> notes;
    std::vector<Signer> signers; // side by side at the foot of the page
};

std::string recordPageHtml(const RecordPage& page);
