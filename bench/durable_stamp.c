/* The least a stamping run can do and still lose nothing: the yardstick bench/stamp_compare.sh
 * holds revtally against. Under a lock on the script's folder it reads the script and its history,
 * makes the four replacements with the raised build and the new history entry, writes both to
 * temporary files that it syncs, renames them into place and syncs the folder. No checks beyond
 * what the work needs, no encodings, no messages: a figure, not a tool.
 *
 *   durable_stamp SCRIPT.rc
 */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static char* load(const char* path, size_t* size) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return NULL;
    struct stat info;
    fstat(fd, &info);
    char* text = malloc((size_t)info.st_size + 1);
    size_t got = 0;
    while (got < (size_t)info.st_size) {
        ssize_t n = read(fd, text + got, (size_t)info.st_size - got);
        if (n <= 0)
            break;
        got += (size_t)n;
    }
    close(fd);
    text[got] = '\0';
    *size = got;
    return text;
}

static void put(const char* temp, const char* text, size_t size) {
    int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        perror(temp);
        exit(1);
    }
    size_t done = 0;
    while (done < size) {
        ssize_t n = write(fd, text + done, size - done);
        if (n <= 0) {
            perror(temp);
            exit(1);
        }
        done += (size_t)n;
    }
    fsync(fd);
    close(fd);
}

/* Replaces the line from the keyword found at or after from up to its CR; returns where the new
 * text ends, so that the next search starts behind it. */
static size_t replace_line(char** text, size_t* size, size_t from, const char* keyword,
                           const char* with) {
    char* at = strstr(*text + from, keyword);
    if (!at)
        return from;
    char* cr = strchr(at, '\r');
    size_t begin = (size_t)(at - *text), end = (size_t)(cr - *text), add = strlen(with);
    char* out = malloc(*size - (end - begin) + add + 1);
    memcpy(out, *text, begin);
    memcpy(out + begin, with, add);
    memcpy(out + begin + add, *text + end, *size - end + 1);
    *size = *size - (end - begin) + add;
    free(*text);
    *text = out;
    return begin + add;
}

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const char* script = argv[1];
    char folder[4096], history[4096], scriptTemp[4200], historyTemp[4200];
    const char* slash = strrchr(script, '/');
    snprintf(folder, sizeof folder, "%.*s", slash ? (int)(slash - script + 1) : 1,
             slash ? script : ".");
    const char* dot = strrchr(script, '.');
    snprintf(history, sizeof history, "%.*s_ver.txt", (int)(dot - script), script);
    snprintf(scriptTemp, sizeof scriptTemp, "%s.~tmp%d", script, (int)getpid());
    snprintf(historyTemp, sizeof historyTemp, "%s.~tmp%d", history, (int)getpid());

    int lock = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    flock(lock, LOCK_EX);

    size_t size = 0, historySize = 0;
    char* text = load(script, &size);
    char* log = load(history, &historySize);
    if (!text)
        return 1;
    if (!log) {
        const char* title = slash ? slash + 1 : script;
        historySize = (size_t)asprintf(&log,
                                       "#DESCRIPTION\r\n\t%.*s\r\n\r\n#UPDATELIST\r\n\r\n"
                                       "#COMMENT\r\n\r\n",
                                       (int)(dot - title), title);
    }

    size_t block = (size_t)(strstr(text, "VS_VERSION_INFO") - text);
    int v[4] = {0};
    sscanf(strstr(text + block, "FILEVERSION") + 11, "%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3]);
    char line[160];
    snprintf(line, sizeof line, "FILEVERSION %d, %d, %d, %d", v[0], v[1], v[2], v[3] + 1);
    size_t at = replace_line(&text, &size, block, "FILEVERSION", line);
    snprintf(line, sizeof line, "PRODUCTVERSION %d, %d, %d, %d", v[0], v[1], v[2], v[3] + 1);
    at = replace_line(&text, &size, at, "PRODUCTVERSION", line);
    snprintf(line, sizeof line, "\"FileVersion\", \"%d, %d, %d, %d\\0\"", v[0], v[1], v[2],
             v[3] + 1);
    replace_line(&text, &size, at, "\"FileVersion\"", line);
    snprintf(line, sizeof line, "\"ProductVersion\", \"%d, %d, %d, %d\\0\"", v[0], v[1], v[2],
             v[3] + 1);
    replace_line(&text, &size, at, "\"ProductVersion\"", line);

    char stamp[32], entry[200];
    time_t now = time(NULL);
    strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", localtime(&now));
    int entrySize = snprintf(entry, sizeof entry, "\r\n\t%s\tVersion %d.%d.%d\tbuild %d", stamp,
                             v[0], v[1], v[2], v[3]);
    size_t insert = (size_t)(strstr(log, "#UPDATELIST") - log) + 11;
    char* newLog = malloc(historySize + (size_t)entrySize + 1);
    memcpy(newLog, log, insert);
    memcpy(newLog + insert, entry, (size_t)entrySize);
    memcpy(newLog + insert + entrySize, log + insert, historySize - insert + 1);

    put(scriptTemp, text, size);
    put(historyTemp, newLog, historySize + (size_t)entrySize);
    rename(scriptTemp, script);
    rename(historyTemp, history);
    fsync(lock);
    flock(lock, LOCK_UN);
    close(lock);
    return 0;
}
