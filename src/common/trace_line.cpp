#include "common/common.h"

#include <cstdio>

void TraceLine::fieldRaw(const char *name, const std::string &json)
{
    text += text.empty() ? "{" : ",";
    text += "\"";
    text += name;
    text += "\":";
    text += json;
}

void TraceLine::field(const char *name, double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    fieldRaw(name, buf);
}

void TraceLine::field(const char *name, int value) { fieldRaw(name, std::to_string(value)); }
void TraceLine::field(const char *name, bool value) { fieldRaw(name, value ? "true" : "false"); }
