#pragma once

// Text made safe for an XML element, or for an attribute in double quotes:
// R"(A & B <"C">)" -> "A &amp; B &lt;&quot;C&quot;&gt;". Other bytes pass as they are.

#include <string>

std::string XmlEscaped(const std::string& text);
