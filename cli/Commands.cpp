// The table of commands: their usage lines, options and defaults, as the help prints them.
#include "cli/Commands.h"

#include <unistd.h>

#include "platform/Utf8.h"

namespace pagelathe::cli {

void WriteError(const std::string& raw) {
  // A message in UTF-8: a file name in it is shown decoded, as the window shows it.
  const std::string text = ShownName(raw);
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"links",
       "pagelathe links [OPTIONS] PATH...\n       pagelathe links [OPTIONS] --url URL",
       "collect the links of one protocol from folders, files, standard input or a page",
       "Searches every PATH as the Links Grabber does: a folder (and its sub-folders) like the\n"
       "Search button, reading the files whose extension is .txt, .htm, .html, .shtm, .shtml or\n"
       ".php; a file like a click on it, whatever its extension; - (standard input) like From\n"
       "Clipboard. With --url the page is fetched (redirects followed) and searched like Get.\n"
       "Prints the list as the window shows it, one line each.",
       {{"protocol", 'p', "P",
         "file://, ftp://, gopher://, http://, https://, news:// or telnet://", "http://"},
        {"type", 't', "T", "link type: full, domain or name", "domain"},
        {"view", 'v', "V", "view: link, html (anchors) or bb (BB code)", "link"},
        {"no-sort", 0, "", "keep the order found instead of sorting", "sorted"},
        {"no-http", 0, "", "drop the protocol from the links shown", "kept"},
        {"no-subdirs", 0, "", "search a folder's own files only", "sub-folders searched"},
        {"exclusions", 'x', "FILE", "drop links that match a line of this exclusion list", "none"},
        {"raw", 0, "", "the links as found: in order, repeats kept, no view", "off"},
        {"url", 0, "URL", "fetch this page (http:// or https://) and search it instead of PATHs",
         ""},
        {"cacert", 0, "FILE", "trust the authorities of this PEM file too (https)",
         "the system's store"},
        {"output", 'o', "FILE",
         "write the list as Save does (CR LF lines; the HTML page when FILE ends with .htm or "
         ".html)",
         "standard output"}},
       RunLinks},
      {"convert",
       "pagelathe convert [--to-text | --to-html] [--subfolders] [--limit N] [--mask M] SOURCE "
       "RESULT\n"
       "       pagelathe convert [--to-text | --to-html] [--limit N] FILE|-",
       "convert a folder of HTML pages to text (or texts to HTML), or one document",
       "With SOURCE and RESULT folders, converts every file of SOURCE that matches the mask\n"
       "into RESULT as the HTML Converter does: NAME.txt or NAME.html, lines ended by CR LF,\n"
       "an existing file replaced whole. With one FILE (or - for standard input), prints the\n"
       "converted document. Files that cannot be converted are named on standard error and\n"
       "the others are converted; the exit status is then 1.",
       {{"to-text", 0, "", "HTML to text", "on"},
        {"to-html", 0, "", "text to HTML pages", "off"},
        {"subfolders", 0, "", "convert the matching files of the sub-folders too", "off"},
        {"limit", 0, "N",
         "cut the text into lines of N characters (tags and double blanks removed)", "no limit"},
        {"mask", 0, "M", "the file masks of SOURCE, joined by ;",
         "*.htm;*.shtm, or *.txt with --to-html"}},
       RunConvert},
      {"keywords",
       "pagelathe keywords [--min-length N] [--min-frequency N] [--case-sensitive] "
       "[--sort count|word] [--clean] FILE|-",
       "count the words of a text: rows \"count<TAB>word\"",
       "Counts the words of FILE (or standard input) as the Search Keywords tab does and prints\n"
       "a row for every word that occurs often enough.",
       {{"min-length", 0, "N", "count words of at least N characters", "4"},
        {"min-frequency", 0, "N", "show words that occur at least N times", "4"},
        {"case-sensitive", 0, "", "count Word and word apart", "off"},
        {"sort", 0, "S", "count (highest first) or word (A to Z)", "count"},
        {"clean", 0, "", "remove tags and double blanks from each line first, as Open does",
         "off"}},
       RunKeywords},
      {"page",
       "pagelathe page --title T [--description D] [--keywords K] [--text FILE|-]",
       "write an HTML page with a title, description, keywords and text",
       "Prints the page the Create Page tab makes, as its Save writes it.",
       {{"title", 0, "T", "the title and heading", ""},
        {"description", 0, "D", "the description (the page writes \"About D\")", "empty"},
        {"keywords", 0, "K", "the keywords line", "empty"},
        {"text", 0, "FILE", "the body text, one <br> line per line (- for standard input)",
         "none"}},
       RunPage},
      {"color",
       "pagelathe color R G B",
       "the web colour code of red, green and blue",
       "Prints the Web Color code of three parts from 0 to 255: #RRGGBB.",
       {},
       RunColor},
      {"gradient",
       "pagelathe gradient [--from R,G,B] [--to R,G,B] [--face F] [--size N] TEXT",
       "write TEXT as HTML whose letters run from one colour to another",
       "Prints the lines of the Gradient Text page for TEXT (nothing for a text of one\n"
       "character, which has no colour step).",
       {{"from", 0, "R,G,B", "the colour of the first character", "0,255,0"},
        {"to", 0, "R,G,B", "the colour of the last character", "0,0,255"},
        {"face", 0, "F", "the font face", "Arial"},
        {"size", 0, "N", "the font size", "6"}},
       RunGradient},
      {"fetch",
       "pagelathe fetch [--include] [--output FILE] URL",
       "fetch a page with the program's HTTP/1.0 client (http:// or https://)",
       "Writes the body of the response (redirects followed) as it arrives, byte for byte, and\n"
       "the response header to standard error. Any HTTP status is a success.",
       {{"include", 0, "", "write the header before the body instead of to standard error", "off"},
        {"output", 'o', "FILE", "write to FILE (replaced whole once the body is complete)",
         "standard output"},
        {"cacert", 0, "FILE", "trust the authorities of this PEM file too (https)",
         "the system's store"}},
       RunFetch},
      {"check",
       "pagelathe check [OPTIONS] PATH...\n       pagelathe check [OPTIONS] --url URL\n"
       "       pagelathe check [OPTIONS] -",
       "check the links of folders, files, standard input or a page: which work, which not",
       "Finds the links as links --type full does (http:// and https:// unless --protocol says\n"
       "otherwise), and in HTML documents the relative links of href and src too (files of the\n"
       "disk, a folder meaning its index file), and checks each distinct link once: HEAD, then\n"
       "GET when HEAD is refused; redirects followed; 429 and 503 retried. A link is ok,\n"
       "redirected, blocked (401, 403, 429, a bot challenge), timeout, broken or excluded.\n"
       "Exit status 1 when a link is broken or timed out (--fail-on changes that).",
       {{"protocol", 'p', "P", "only links of this protocol", "http:// and https://"},
        {"exclusions", 'x', "FILE", "links that match a line of this exclusion list are excluded",
         "none"},
        {"no-subdirs", 0, "", "search a folder's own files only", "sub-folders searched"},
        {"url", 0, "URL", "fetch this page and check its links instead of PATHs", ""},
        {"timeout", 0, "S", "seconds for a whole request", "20"},
        {"connect-timeout", 0, "S", "seconds for a connection", "10"},
        {"max-connections", 0, "N", "connections in all", "64"},
        {"per-host", 0, "N", "connections to one host", "8"},
        {"retries", 0, "N", "retries of a 429 or 503 answer", "2"},
        {"user-agent", 0, "TEXT", "the User-Agent sent", "a browser's"},
        {"accept", 0, "CODES", "status codes that count as ok, as 200..299,403", "200..299"},
        {"exclude", 0, "REGEX", "exclude links that match (may be given again)", "none"},
        {"cacert", 0, "FILE", "trust the authorities of this PEM file too (https)",
         "the system's store"},
        {"cache", 0, "FILE",
         "reuse the successes of earlier runs from FILE (failures are checked again)",
         "pagelathe-check.cache beside the program", true},
        {"max-age", 0, "DURATION", "how long a cached success holds: 45s, 30m, 12h, 1d, 2w", "1d"},
        {"fragments", 0, "", "check #fragments against the anchors of their pages", "off"},
        {"robots", 0, "", "obey each host's robots.txt (its disallowed links are excluded)", "off"},
        {"fix-redirects", 0, "", "rewrite permanent redirects in the documents to their final URL",
         "off"},
        {"dry-run", 0, "", "with --fix-redirects: print the changes as a unified diff instead",
         "off"},
        {"fail-on", 0, "STATES", "states that make the exit status 1", "broken,timeout"},
        {"format", 0, "F", "text, csv, json, junit or markdown", "text"},
        {"output", 'o', "FILE", "write the report to FILE", "standard output"}},
       RunCheck},
  };
  return commands;
}

}  // namespace pagelathe::cli
