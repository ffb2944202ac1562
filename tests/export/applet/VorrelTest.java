// The viewer applet's parameter rules, run without a display: the frame count, the frame
// files' names and addresses, the frame times and the loop. The argument is the folder the
// applet was compiled into, which must hold vorrel.class alone.

import java.io.File;
import java.util.Arrays;

public class VorrelTest {
    private static int failures = 0;

    private static void equal(Object expected, Object actual, String what) {
        boolean same = expected == null ? actual == null : expected.equals(actual);
        if (!same) {
            failures++;
            System.err.println("FAIL " + what + ": expected <" + expected + "> but was <" + actual + ">");
        }
    }

    private static void count() {
        equal(9, vorrel.count(" 9"), "Count ' 9' as the page writes it");
        equal(0, vorrel.count("0"), "Count '0': one frame");
        equal(-1, vorrel.count("-1"), "Count '-1': no frames");
        equal(-1, vorrel.count("-7"), "Count below -1");
        equal(-1, vorrel.count(null), "Count missing");
        equal(-1, vorrel.count("nine"), "Count no number");
        equal(-1, vorrel.count("9.5"), "Count not whole");
        equal(32766, vorrel.count("32766"), "Count of 32767 frames");
    }

    private static void names() {
        equal("cat00.bmp", vorrel.frameName("cat", 0, "bmp"), "frame 0");
        equal("cat09.bmp", vorrel.frameName("cat", 9, "bmp"), "frame 9");
        equal("cat10.bmp", vorrel.frameName("cat", 10, "bmp"), "frame 10");
        equal("cat100.bmp", vorrel.frameName("cat", 100, "bmp"), "frame 100");
        equal("cat00.bmp", vorrel.addressOf("cat00.bmp"), "plain name");
        equal("my%20cat%231_x~-00.bmp", vorrel.addressOf("my cat#1_x~-00.bmp"), "blank and #");
        // ね U+306D and こ U+3053 are E3 81 AD and E3 81 93 in UTF-8.
        equal("%E3%81%AD%E3%81%9300.bmp", vorrel.addressOf("\u306d\u305300.bmp"), "Japanese name");
    }

    private static void times() {
        equal("[300, 100, 500]", Arrays.toString(vorrel.times(" 300", " 100", " 500")), "three times");
        equal("[250, 250, 250]", Arrays.toString(vorrel.times(null, " 250", null)),
                "Time0 and Time9 follow Time1");
        equal("[200, 200, 200]", Arrays.toString(vorrel.times(null, "x", null)), "no times at all");
        equal("[0, 0, 40]", Arrays.toString(vorrel.times("-5", "0", "40")), "negative as 0");
    }

    private static void schedule() {
        int[] t = vorrel.times("300", "100", "500");
        // Count 3: frames 0 1 2 3, then 0 again.
        StringBuilder seen = new StringBuilder();
        int k = 0;
        for (int i = 0; i < 6; i++) {
            seen.append(k).append('@').append(vorrel.delay(k, 3, t)).append(' ');
            k = vorrel.next(k, 3);
        }
        equal("0@300 1@100 2@100 3@500 0@300 1@100 ", seen.toString(), "loop of four frames");
        // One frame: it is the first and the last; the first time wins, and it stays.
        equal(300, vorrel.delay(0, 0, t), "only frame");
        equal(0, vorrel.next(0, 0), "only frame follows itself");
        // Two frames: no middle.
        equal(500, vorrel.delay(1, 1, t), "second of two is the last");
        // A time of 0 still pauses.
        equal(vorrel.MIN_DELAY, vorrel.delay(1, 3, vorrel.times("0", "0", "0")), "zero time");
    }

    private static void singleClassFile(String folder) {
        String[] names = new File(folder).list();
        int others = 0;
        for (int i = 0; names != null && i < names.length; i++) {
            if (names[i].startsWith("vorrel") && names[i].endsWith(".class") && !names[i].equals("vorrel.class")) {
                others++;
            }
        }
        equal(0, others, "class files besides vorrel.class in " + folder);
        equal(true, new File(folder, "vorrel.class").isFile(), "vorrel.class in " + folder);
    }

    public static void main(String[] args) {
        count();
        names();
        times();
        schedule();
        if (args.length > 0) {
            singleClassFile(args[0]);
        }
        if (failures > 0) {
            System.err.println(failures + " failure(s)");
            System.exit(1);
        }
        System.out.println("vorrel parameter rules: all passed");
    }
}
