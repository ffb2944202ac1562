// The viewer applet of Kinetta's HTML page: plays the frame files File1 + frame number (two
// digits or more) + "." + File2 for the numbers 0 to Count, looping, showing the first frame
// for Time0 milliseconds, the last for Time9 and the others for Time1.
//
// The page ships this one class file and nothing else, so the applet is a single class with no
// nested or anonymous classes (each would compile to a file of its own). The rules that read
// the parameters are static methods that need no display; a plain program tests them.

import java.applet.Applet;
import java.awt.Graphics;
import java.awt.Image;
import java.awt.image.BufferedImage;
import java.net.URL;
import java.nio.charset.StandardCharsets;
import javax.imageio.ImageIO;

public class vorrel extends Applet implements Runnable {
    private static final long serialVersionUID = 1L;

    /** The shortest pause between two frames, so a time of 0 does not keep the processor busy. */
    static final int MIN_DELAY = 10;
    /** The frame time when Time1 is missing or no whole number. */
    static final int DEFAULT_TIME = 200;
    /** File2 when the page gives none. */
    static final String DEFAULT_EXTENSION = "bmp";

    private static final String HEX = "0123456789ABCDEF";

    // ---- Parameter rules (no display) ---------------------------------------------------------

    /** A whole number with blanks around it (the page writes " 9"), or null. */
    static Integer wholeNumber(String text) {
        if (text == null) {
            return null;
        }
        try {
            return Integer.valueOf(text.trim());
        } catch (NumberFormatException e) {
            return null;
        }
    }

    /** The highest frame number; missing, unreadable or below 0 gives -1: nothing to play. */
    static int count(String text) {
        Integer value = wholeNumber(text);
        return value == null || value.intValue() < 0 ? -1 : value.intValue();
    }

    /** The three frame times {first, middle, last} in milliseconds. Time1 falls back to
     *  DEFAULT_TIME, Time0 and Time9 fall back to Time1; negative times count as 0. */
    static int[] times(String time0, String time1, String time9) {
        int middle = time(time1, DEFAULT_TIME);
        return new int[] {time(time0, middle), middle, time(time9, middle)};
    }

    private static int time(String text, int fallback) {
        Integer value = wholeNumber(text);
        return value == null ? fallback : Math.max(0, value.intValue());
    }

    /** How long frame k stays: the first time for frame 0 (also when it is the only frame), the
     *  last time for frame `count`, the middle time for the others; never below MIN_DELAY. */
    static int delay(int k, int count, int[] times) {
        int t = k == 0 ? times[0] : k == count ? times[2] : times[1];
        return Math.max(MIN_DELAY, t);
    }

    /** The frame after k: 0 follows the last. */
    static int next(int k, int count) {
        return k >= count ? 0 : k + 1;
    }

    /** The file of frame k: 0 to 9 get a leading 0 (cat00.bmp), 10 on as many digits as needed. */
    static String frameName(String file1, int k, String file2) {
        return file1 + (k <= 9 ? "0" : "") + k + "." + file2;
    }

    /** A file name as a relative address: every UTF-8 byte other than letters, digits and
     *  - . _ ~ as %XX, so blanks, # and non-ASCII names reach the file. */
    static String addressOf(String name) {
        byte[] bytes = name.getBytes(StandardCharsets.UTF_8);
        StringBuilder out = new StringBuilder();
        for (int i = 0; i < bytes.length; i++) {
            int b = bytes[i] & 0xFF;
            boolean plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')
                    || b == '-' || b == '.' || b == '_' || b == '~';
            if (plain) {
                out.append((char) b);
            } else {
                out.append('%').append(HEX.charAt(b >> 4)).append(HEX.charAt(b & 15));
            }
        }
        return out.toString();
    }

    // ---- The applet ---------------------------------------------------------------------------

    private int last = -1;
    private String file1;
    private String file2 = DEFAULT_EXTENSION;
    private int[] frameTimes;
    private volatile Thread player;
    private volatile Image shown;

    public void init() {
        last = count(getParameter("Count"));
        file1 = getParameter("File1");
        String extension = getParameter("File2");
        file2 = extension == null ? DEFAULT_EXTENSION : extension;
        frameTimes = times(getParameter("Time0"), getParameter("Time1"), getParameter("Time9"));
    }

    public void start() {
        if (file1 == null || last < 0) {
            return;
        }
        Thread thread = new Thread(this, "vorrel");
        thread.setDaemon(true);
        player = thread;
        thread.start();
    }

    public void stop() {
        Thread thread = player;
        player = null;
        if (thread != null) {
            thread.interrupt();
        }
    }

    /** The player thread: load frame k, show it, wait its time, go on to the next. Each frame
     *  is read afresh, so frames written by a new run show on the next round. */
    public void run() {
        Thread self = Thread.currentThread();
        int k = 0;
        while (player == self) {
            Image image = load(k);
            if (image != null) {
                shown = image;
                repaint();
            }
            try {
                Thread.sleep(delay(k, last, frameTimes));
            } catch (InterruptedException e) {
                return;
            }
            k = next(k, last);
        }
    }

    // The BMP frames need ImageIO: the toolkit's own image loader reads no BMP (ImageIO reads the
    // PNG frames too). A missing or
    // unreadable frame is skipped and the previous one stays.
    private Image load(int k) {
        try {
            return ImageIO.read(new URL(getDocumentBase(), addressOf(frameName(file1, k, file2))));
        } catch (Exception e) {
            return null;
        }
    }

    // Drawing straight over the old frame, without clearing first, keeps the picture still.
    public void update(Graphics g) {
        paint(g);
    }

    public void paint(Graphics g) {
        int width = getWidth();
        int height = getHeight();
        Image image = shown;
        if (image == null) {
            g.clearRect(0, 0, width, height);
            return;
        }
        int w = image.getWidth(this);
        int h = image.getHeight(this);
        // A PNG frame with transparency would show the frame before through its clear pixels.
        if (image instanceof BufferedImage && ((BufferedImage) image).getColorModel().hasAlpha()) {
            g.clearRect(0, 0, width, height);
        }
        g.drawImage(image, 0, 0, this);
        if (w < width) {
            g.clearRect(w, 0, width - w, height);
        }
        if (h < height) {
            g.clearRect(0, h, Math.min(w, width), height - h);
        }
    }
}
