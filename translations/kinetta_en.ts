<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Kinetta</name>
    <message>
        <source>設定</source>
        <comment>colour button</comment>
        <translation>Set…</translation>
    </message>
    <message>
        <source>help</source>
        <translation>help-en</translation>
    </message>
    <message>
        <source>%1が開けません。</source>
        <translation>%1 cannot be opened.</translation>
    </message>
    <message>
        <source>%1が開けません。
（%2）</source>
        <translation>%1 cannot be opened.
(%2)</translation>
    </message>
    <message>
        <source>(原図サイズ:</source>
        <translation>(Picture size: </translation>
    </message>
    <message>
        <source>APNGアニメーション (*.png)</source>
        <translation>APNG animation (*.png)</translation>
    </message>
    <message>
        <source>GIFアニメーション (*.gif)</source>
        <translation>GIF animation (*.gif)</translation>
    </message>
    <message>
        <source>HTMLファイルを作成できませんでした。</source>
        <translation>The HTML file could not be created.</translation>
    </message>
    <message>
        <source>Kinetta はフリーソフトウェアです（GPL-3.0-or-later、無保証）。</source>
        <translation>Kinetta is free software (GPL-3.0-or-later, no warranty).</translation>
    </message>
    <message>
        <source>MP4動画 (*.mp4)</source>
        <translation>MP4 video (*.mp4)</translation>
    </message>
    <message>
        <source>WebPアニメーション (*.webp)</source>
        <translation>WebP animation (*.webp)</translation>
    </message>
    <message>
        <source>がありません。</source>
        <translation> is missing.</translation>
    </message>
    <message>
        <source>この画像形式には対応していません。</source>
        <translation>This picture format is not supported.</translation>
    </message>
    <message>
        <source>こまが 1 ピクセルより小さくなります。</source>
        <translation>The frames would be smaller than 1 pixel.</translation>
    </message>
    <message>
        <source>こまを符号化できません</source>
        <translation>the frame cannot be encoded</translation>
    </message>
    <message>
        <source>こま数</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>こま数が 1 より小さく、こまができません。</source>
        <translation>The number of frames is less than 1, so no frames would be made.</translation>
    </message>
    <message>
        <source>こま数が多くて時間がかかります。</source>
        <translation>So many frames will take a long time.</translation>
    </message>
    <message>
        <source>こま数が範囲外です。</source>
        <translation>The number of frames is out of range.</translation>
    </message>
    <message>
        <source>こま数が範囲外です。-32768 から 32767 までの数を入力してください。</source>
        <translation>The number of frames is out of range. Enter a number from -32768 to 32767.</translation>
    </message>
    <message>
        <source>すべてのﾌｧｲﾙ (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>ひとコマの表示秒数</source>
        <translation>Seconds per frame</translation>
    </message>
    <message>
        <source>ひとコマの表示秒数には数値を入力してください。</source>
        <translation>Enter a number for the seconds per frame.</translation>
    </message>
    <message>
        <source>ひとコマの表示秒数は 0 から 32.767 までの秒数で入力してください。</source>
        <translation>Enter the seconds per frame as a number from 0 to 32.767.</translation>
    </message>
    <message>
        <source>アニメーションファイルの保存</source>
        <translation>Save Animation File</translation>
    </message>
    <message>
        <source>アニメーションファイルを作成します。</source>
        <translation>Creates an animation file.</translation>
    </message>
    <message>
        <source>アニメーションファイルを作成できませんでした。</source>
        <translation>The animation file could not be created.</translation>
    </message>
    <message>
        <source>アニメーションファイル作成</source>
        <translation>Create Animation File</translation>
    </message>
    <message>
        <source>アニメーションファイル作成(&amp;G)</source>
        <translation>Create &amp;Animation File…</translation>
    </message>
    <message>
        <source>アニメーションファイル作成中</source>
        <translation>Creating animation file</translation>
    </message>
    <message>
        <source>アニメーションファイル作成中です</source>
        <translation>An animation file is being created</translation>
    </message>
    <message>
        <source>アニメーション変換中</source>
        <translation>Converting</translation>
    </message>
    <message>
        <source>アニメーション変換中です</source>
        <translation>A conversion is running</translation>
    </message>
    <message>
        <source>アニメーション表示用HTMLファイルを作成します。</source>
        <translation>Creates an HTML file that shows the animation.</translation>
    </message>
    <message>
        <source>ツールバー</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>ドット</source>
        <translation>Dots</translation>
    </message>
    <message>
        <source>バージョン　0.90</source>
        <translation>Version 0.90</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <source>ファイルに書けません</source>
        <translation>the file cannot be written</translation>
    </message>
    <message>
        <source>ファイルを始められません</source>
        <translation>the file cannot be started</translation>
    </message>
    <message>
        <source>ファイルを閉じられません</source>
        <translation>the file cannot be closed</translation>
    </message>
    <message>
        <source>フェードイン</source>
        <translation>Fade-in</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>プレビュー中</source>
        <translation>Previewing</translation>
    </message>
    <message>
        <source>プレビュー中です</source>
        <translation>A preview is playing</translation>
    </message>
    <message>
        <source>ヘルプを表示するにはＨＴＭＬ対応のブラウザが必要です。
 インターネットエクスプローラなどを準備してください。
   とりあえず 表示しますが、正しく表示できません</source>
        <translation>Showing the help needs a web browser.
Please install one, such as Firefox or Chromium.
The page will be shown anyway, but may not display correctly.</translation>
    </message>
    <message>
        <source>メモリが足りません。</source>
        <translation>There is not enough memory.</translation>
    </message>
    <message>
        <source>ライブラリの版が合いません。</source>
        <translation>The library version does not match.</translation>
    </message>
    <message>
        <source>一覧にない形状です。</source>
        <translation>The shape is not in the list.</translation>
    </message>
    <message>
        <source>不明な理由</source>
        <translation>unknown reason</translation>
    </message>
    <message>
        <source>中断しました。</source>
        <translation>Stopped.</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>予期しないエラーが発生しました。</source>
        <translation>An unexpected error occurred.</translation>
    </message>
    <message>
        <source>円柱</source>
        <translation>Cylinder</translation>
    </message>
    <message>
        <source>円盤</source>
        <translation>Disk</translation>
    </message>
    <message>
        <source>切抜き</source>
        <translation>Cut-out</translation>
    </message>
    <message>
        <source>動画作成補助ツール</source>
        <translation>A tool for making animations</translation>
    </message>
    <message>
        <source>原図が大きくて時間がかかります。</source>
        <translation>The picture is large and will take a long time.</translation>
    </message>
    <message>
        <source>原画</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>原画が低すぎて上下二つの面に分けられません。</source>
        <translation>The picture is too short to split into top and bottom faces.</translation>
    </message>
    <message>
        <source>原画の幅</source>
        <translation>Picture width</translation>
    </message>
    <message>
        <source>原画の高さ</source>
        <translation>Picture height</translation>
    </message>
    <message>
        <source>原画の高さが 1 ピクセルしかなく、上下二つの面に分けられません。</source>
        <translation>The picture is only 1 pixel high and cannot be split into top and bottom faces.</translation>
    </message>
    <message>
        <source>原画を先に開いてください。</source>
        <translation>Open a picture first.</translation>
    </message>
    <message>
        <source>変換の実行を先に行ってください。</source>
        <translation>Run a conversion first.</translation>
    </message>
    <message>
        <source>完了しました。</source>
        <translation>Done.</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>実行を継続しますか？</source>
        <translation>Do you want to continue?</translation>
    </message>
    <message>
        <source>幅が大きくて時間がかかります。</source>
        <translation>The width is large and will take a long time.</translation>
    </message>
    <message>
        <source>平面</source>
        <translation>Plane</translation>
    </message>
    <message>
        <source>形式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>形状</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>指定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>操作説明(&amp;H)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>旗</source>
        <translation>Flag</translation>
    </message>
    <message>
        <source>書き込みが中断されました</source>
        <translation>the writing was interrupted</translation>
    </message>
    <message>
        <source>横幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>横幅の指定が範囲外です。-32768 から 32767 までの数を入力してください。</source>
        <translation>The width is out of range. Enter a number from -32768 to 32767.</translation>
    </message>
    <message>
        <source>横幅の数が範囲外です。</source>
        <translation>The width is out of range.</translation>
    </message>
    <message>
        <source>水の色</source>
        <translation>Water tint</translation>
    </message>
    <message>
        <source>水面</source>
        <translation>Water</translation>
    </message>
    <message>
        <source>現時点ではｼｽﾃﾑ情報を使用できません</source>
        <translation>System information is not available at the moment</translation>
    </message>
    <message>
        <source>球体</source>
        <translation>Sphere</translation>
    </message>
    <message>
        <source>画像の大きさが 0 です</source>
        <translation>the picture has no size</translation>
    </message>
    <message>
        <source>画像を読み込んでいます。</source>
        <translation>Reading the picture.</translation>
    </message>
    <message>
        <source>画像を開きます。</source>
        <translation>Opening the picture.</translation>
    </message>
    <message>
        <source>画像ファイル (*.bmp *.gif *.jpg *.jpeg *.png *.webp *.heic *.heif *.avif *.BMP *.GIF *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)</source>
        <translation>Pictures (*.bmp *.gif *.jpg *.jpeg *.png *.webp *.heic *.heif *.avif *.BMP *.GIF *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)</translation>
    </message>
    <message>
        <source>画像ファイル (*.bmp *.jpg *.jpeg *.png *.webp *.heic *.heif *.avif *.BMP *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)</source>
        <translation>Pictures (*.bmp *.jpg *.jpeg *.png *.webp *.heic *.heif *.avif *.BMP *.JPG *.JPEG *.PNG *.WEBP *.HEIC *.HEIF *.AVIF)</translation>
    </message>
    <message>
        <source>符号化を始められません</source>
        <translation>the encoding cannot be started</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>色の数を減らせませんでした。</source>
        <translation>The colours could not be reduced.</translation>
    </message>
    <message>
        <source>色を変換できません。</source>
        <translation>The colours cannot be converted.</translation>
    </message>
    <message>
        <source>表示用HTML作成(&amp;H)</source>
        <translation>Create &amp;HTML Page…</translation>
    </message>
    <message>
        <source>表裏回転</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>見本のファイルがありません</source>
        <translation>the sample file is missing</translation>
    </message>
    <message>
        <source>見本のファイルを読めません</source>
        <translation>the sample file cannot be read</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>読込 %1</source>
        <translation>Read %1</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>３Ｄ</source>
        <translation>3D</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ情報(&amp;S)...</source>
        <translation>&amp;System Information…</translation>
    </message>
    <message>
        <source>ﾀﾞｲｱﾛｸﾞ ｷｬﾌﾟｼｮﾝ</source>
        <translation>Dialog Caption</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ </source>
        <translation>Version </translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Kinetta</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)</source>
        <translation>&amp;About Kinetta</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>%1 に書き込めません。(%2)</source>
        <translation>%1 cannot be written. (%2)</translation>
    </message>
    <message>
        <source>%1 はこまのファイルではなく、ごみ箱も使えないため、消さずに残しました。</source>
        <translation>%1 is not a frame file and there is no trash to move it to, so it was left in place.</translation>
    </message>
    <message>
        <source>%1 データが壊れています</source>
        <translation>the %1 data is damaged</translation>
    </message>
    <message>
        <source>%1 データが途中で切れています</source>
        <translation>the %1 data ends too early</translation>
    </message>
    <message>
        <source>この種類の %1 には対応していません</source>
        <translation>this kind of %1 is not supported</translation>
    </message>
    <message>
        <source>こまの大きさ %1 x %2 ピクセルでは、こまの BMP ファイルが 4 GiB を超えて書き出せません。横幅の設定を確かめてください。</source>
        <translation>At %1 x %2 pixels, a frame's BMP file would exceed 4 GiB and cannot be written. Check the width setting.</translation>
    </message>
    <message>
        <source>こまの大きさ %1 x %2 ピクセルでは約 %3 MiB のメモリが要ります（使えるのは約 %4 MiB）。</source>
        <translation>Frames of %1 x %2 pixels need about %3 MiB of memory (about %4 MiB is available).</translation>
    </message>
    <message>
        <source>こまの大きさが %1 x %2 ピクセルになり、1 ピクセルに足りません。横幅の設定を確かめてください。</source>
        <translation>The frames would be %1 x %2 pixels, less than 1 pixel. Check the width setting.</translation>
    </message>
    <message>
        <source>アクセスする権限がありません</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>ディスクの空きが足りません</source>
        <translation>not enough disk space</translation>
    </message>
    <message>
        <source>ファイルまたはフォルダが見つかりません</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>フォルダです</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>フォルダではありません</source>
        <translation>not a folder</translation>
    </message>
    <message>
        <source>メモリが足りません。約 %1 MiB 要りますが、使えるのは約 %2 MiB です</source>
        <translation>There is not enough memory. About %1 MiB is needed, but only about %2 MiB is available</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <source>形状の番号 %1 に当たる動きがありません。設定で形状を選び直してください。</source>
        <translation>There is no motion for shape number %1. Choose the shape again in Settings.</translation>
    </message>
    <message>
        <source>画像が大きすぎます。%1 x %2 ピクセル</source>
        <translation>The picture is too large: %1 x %2 pixels</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>透明(&amp;T)</source>
        <translation>&amp;Transparent</translation>
    </message>
    <message>
        <source>こまの形式</source>
        <translation>Frame files</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>APNG の acTL のこま数と fcTL の数が合いません</source>
        <translation>the APNG's acTL frame count does not match its fcTL chunks</translation>
    </message>
    <message>
        <source>APNG、PNG、GIF、WebM のどれでもありません</source>
        <translation>not an APNG, PNG, GIF or WebM file</translation>
    </message>
    <message>
        <source>PNG の IHDR チャンクが正しくありません</source>
        <translation>the PNG's IHDR chunk is not valid</translation>
    </message>
    <message>
        <source>PNG のチャンクの CRC が合いません</source>
        <translation>a PNG chunk's CRC does not match</translation>
    </message>
    <message>
    </message>
    <message>
        <source>ファイルが途中で切れています</source>
        <translation>the file ends too early</translation>
    </message>
    <message>
        <source>ファイルを読めません</source>
        <translation>the file cannot be read</translation>
    </message>
    <message>
        <source>作ったファイルが対象の条件を満たしません。</source>
        <translation>The file made does not meet the target's rules.</translation>
    </message>
    <message>
        <source>映像がありません</source>
        <translation>there is no video</translation>
    </message>
    <message>
        <source>色とこまを減らしても対象のファイルの大きさに収まりません。</source>
        <translation>Even with fewer colours and frames the file does not fit the target's size limit.</translation>
    </message>
    <message>
        <source>MP4 は透明を持てないため、背景色の上に重ねて書きます。</source>
        <translation>An MP4 cannot be transparent: it is laid over the background colour.</translation>
    </message>
    <message>
        <source>WebM動画 (*.webm)</source>
        <translation>WebM video (*.webm)</translation>
    </message>
    <message>
        <source>こまが途中で変わりました。</source>
        <translation>A frame changed while the file was being made.</translation>
    </message>
    <message>
        <source>GIFの縁</source>
        <translation>GIF edges</translation>
    </message>
    <message>
        <source>半透明の部分を背景色に重ねる(&amp;B)</source>
        <translation>Lay partly transparent pixels over the &amp;background colour</translation>
    </message>
    <message>
        <source>WebPの画質(&amp;Q)</source>
        <translation>WebP &amp;quality</translation>
    </message>
    <message>
        <source>可逆(劣化なし)</source>
        <translation>Lossless</translation>
    </message>
    <message>
        <source> に書く</source>
        <translation> instead</translation>
    </message>
    <message>
        <source>このフォルダの animate.htm は別の画像のこまを表示します。置き換えますか？</source>
        <translation>The animate.htm in this folder shows another picture's frames. Replace it?</translation>
    </message>
    <message>
        <source>今後この確認を表示しない(&amp;D)</source>
        <translation>&amp;Don't ask again</translation>
    </message>
    <message>
        <source>出力先</source>
        <translation>Output folder</translation>
    </message>
    <message>
        <source>出力先のフォルダに書き込めません。</source>
        <translation>The output folder cannot be written to.</translation>
    </message>
    <message>
        <source>原画と同じフォルダ</source>
        <translation>Same folder as the picture</translation>
    </message>
    <message>
        <source>参照(&amp;B)...</source>
        <translation>&amp;Browse…</translation>
    </message>
    <message>
        <source>実行前の確認を表示する</source>
        <translation>Ask before long runs</translation>
    </message>
    <message>
        <source>置き換える(&amp;R)</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>大きさ(&amp;S)</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>こまと同じ</source>
        <translation>Frames' own size</translation>
    </message>
    <message>
        <source>長辺 %1</source>
        <translation>Longer side %1</translation>
    </message>
    <message>
        <source>%1 x %2、約 %3 MB</source>
        <translation>%1 x %2, about %3 MB</translation>
    </message>
    <message>
        <source>MP4 は H.264 レベル 5.1 に収まるよう %1 x %2 に縮小します。</source>
        <translation>The MP4 is scaled down to %1 x %2 to stay within H.264 level 5.1.</translation>
    </message>
    <message>
        <source>出力先(&amp;O)</source>
        <translation>&amp;Output folder</translation>
    </message>
    <message>
        <source>%1  %2: %3（%4）</source>
        <translation>%1  %2: %3 (%4)</translation>
    </message>
    <message>
        <source>%1 (%2 バイト)</source>
        <translation>%1 (%2 bytes)</translation>
    </message>
    <message>
        <source>%1 x %2 = %3 秒</source>
        <translation>%1 x %2 = %3 s</translation>
    </message>
    <message>
        <source>%1 こま</source>
        <translation>%1 frames</translation>
    </message>
    <message>
        <source>%1 こまを書き出しました。</source>
        <translation>wrote %1 frames</translation>
    </message>
    <message>
        <source>1 こまを書き出しました。</source>
        <translation>wrote 1 frame</translation>
    </message>
    <message>
        <source>1 こま</source>
        <translation>1 frame</translation>
    </message>
    <message>
        <source>%1 と %2 はどちらも %3 を書き出します。</source>
        <translation>%1 and %2 would both write %3</translation>
    </message>
    <message>
        <source>%1 と %2 はどちらも %3 を書き出します。%4</source>
        <translation>%1 and %2 would both write %3; %4</translation>
    </message>
    <message>
        <source>%1 と %2 は同じこまのファイル %3 を書き出します。</source>
        <translation>%1 and %2 would write the same frame file %3</translation>
    </message>
    <message>
        <source>%1 と %2 は同じこまのファイル (%3, ...) を書き出します。</source>
        <translation>%1 and %2 would write the same frame files (%3, ...)</translation>
    </message>
    <message>
        <source>%1 のこまのファイルが画像 %2 を置き換えてしまいます。</source>
        <translation>the frame files of %1 would replace the picture %2</translation>
    </message>
    <message>
        <source>%1 のどれか</source>
        <translation>one of %1</translation>
    </message>
    <message>
        <source>%1 はこまのファイルです。アニメーションファイルには別の名前を選んでください。</source>
        <translation>%1 is a frame file. Choose another name for the animation file.</translation>
    </message>
    <message>
        <source>%1 は原画です。アニメーションファイルには別の名前を選んでください。</source>
        <translation>%1 is the source picture. Choose another name for the animation file.</translation>
    </message>
    <message>
        <source>%1 は書き出しましたが、表示に要るファイルをコピーできなかったため動きません: %2</source>
        <translation>wrote %1, but it cannot play: the files it needs could not be copied: %2</translation>
    </message>
    <message>
        <source>%1 ほか %2 枚</source>
        <translation>%1 and %2 more</translation>
    </message>
    <message>
        <source>%1 を書き出しました。</source>
        <translation>wrote %1</translation>
    </message>
    <message>
        <source>%1 を書き出しました。(%2 こま)</source>
        <translation>wrote %1 (%2 frames)</translation>
    </message>
    <message>
        <source>%1 を書けません</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>%1 以上</source>
        <translation>at least %1</translation>
    </message>
    <message>
        <source>%1 以下</source>
        <translation>at most %1</translation>
    </message>
    <message>
        <source>%1 以内</source>
        <translation>within %1</translation>
    </message>
    <message>
        <source>%1 以内、長い辺 %2 以上</source>
        <translation>within %1, longer side at least %2</translation>
    </message>
    <message>
        <source>%1 件の条件を満たしていません。</source>
        <translation>%1 rules not met</translation>
    </message>
    <message>
        <source>1 件の条件を満たしていません。</source>
        <translation>1 rule not met</translation>
    </message>
    <message>
        <source>%1 分 %2 秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 時間 %2 分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 回</source>
        <translation>%1 times</translation>
    </message>
    <message>
        <source>1 回</source>
        <translation>once</translation>
    </message>
    <message>
        <source>1-%1 回</source>
        <translation>1-%1 times</translation>
    </message>
    <message>
        <source>%1 枚のうち %2 枚を書き出しました。</source>
        <translation>%2 of %1 pictures written</translation>
    </message>
    <message>
        <source>%1 秒以下</source>
        <translation>at most %1 s</translation>
    </message>
    <message>
        <source>%1/%2 こま</source>
        <translation>%1/%2 frames</translation>
    </message>
    <message>
        <source>%1/%2 枚</source>
        <translation>picture %1/%2</translation>
    </message>
    <message>
        <source>%1: %2 こま読み込み</source>
        <translation>%1: %2 frames read</translation>
    </message>
    <message>
        <source>%1: 中断しました。</source>
        <translation>%1: interrupted</translation>
    </message>
    <message>
        <source>%1失敗 %2 枚: %3</source>
        <translation>%1; %2 failed: %3</translation>
    </message>
    <message>
        <source>%1（書き出せません）</source>
        <translation>%1 (not written)</translation>
    </message>
    <message>
        <source>%1（開けません）</source>
        <translation>%1 (cannot be opened)</translation>
    </message>
    <message>
        <source>BMP、JPEG、PNG、WebP、HEIC、AVIF のいずれでもありません</source>
        <translation>not a BMP, JPEG, PNG, WebP, HEIC or AVIF file</translation>
    </message>
    <message>
        <source>BMP、JPEG、PNG、WebP、HEIC、AVIF、GIF のいずれでもありません</source>
        <translation>not a BMP, JPEG, PNG, WebP, HEIC, AVIF or GIF file</translation>
    </message>
    <message>
        <source>Discord スタンプ</source>
        <translation>Discord sticker</translation>
    </message>
    <message>
        <source>Discord 絵文字</source>
        <translation>Discord emoji</translation>
    </message>
    <message>
        <source>FFmpeg に %1 がありません。</source>
        <translation>FFmpeg has no %1.</translation>
    </message>
    <message>
        <source>LINE アニメーションスタンプ</source>
        <translation>LINE animated sticker</translation>
    </message>
    <message>
        <source>LINE アニメーションスタンプのメイン画像</source>
        <translation>LINE animated sticker main image</translation>
    </message>
    <message>
        <source>LINE トークルームタブ画像</source>
        <translation>LINE chat room tab image</translation>
    </message>
    <message>
        <source>MP4、APNG と WebM を書く部品 %1 が読み込めません。
（%2）</source>
        <translation>The module that writes MP4, APNG and WebM (%1) cannot be loaded.
(%2)</translation>
    </message>
    <message>
        <source>RGB (グレー不可)</source>
        <translation>RGB (not greyscale)</translation>
    </message>
    <message>
        <source>Slack 絵文字</source>
        <translation>Slack emoji</translation>
    </message>
    <message>
        <source>Telegram ビデオステッカー</source>
        <translation>Telegram video sticker</translation>
    </message>
    <message>
        <source>∞</source>
        <translation>∞</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>あり</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>このプログラム %1 の部品ではありません</source>
        <translation>not built for version %1 of this program</translation>
    </message>
    <message>
        <source>こま %1 の大きさ %2 が、こま 00 の %3 と違います。変換をやり直してください。</source>
        <translation>Frame %1 is %2, but frame 00 is %3. Run the conversion again.</translation>
    </message>
    <message>
        <source>こま %1 を読み直せませんでした。</source>
        <translation>Frame %1 could not be read again.</translation>
    </message>
    <message>
        <source>こま/秒</source>
        <translation>Frame rate</translation>
    </message>
    <message>
        <source>こまの大きさ %1 は、この形式の上限 %2 ピクセルを超えています。</source>
        <translation>The frame size %1 is over this format's limit of %2 pixels.</translation>
    </message>
    <message>
        <source>すべての条件を満たしています。</source>
        <translation>all rules met</translation>
    </message>
    <message>
        <source>オプション %1 の値 '%2' は使えません。</source>
        <translation>invalid value '%2' for %1</translation>
    </message>
    <message>
        <source>オプション %1 の値 '%2' は使えません。(%3)</source>
        <translation>invalid value '%2' for %1 (%3)</translation>
    </message>
    <message>
        <source>オプション '%1' には値が要ります。</source>
        <translation>option '%1' requires a value</translation>
    </message>
    <message>
        <source>オプション '%1' には値を付けられません。</source>
        <translation>option '%1' takes no value</translation>
    </message>
    <message>
        <source>オプション '%1' には対象とファイルが要ります。</source>
        <translation>option '%1' requires a target and a file</translation>
    </message>
    <message>
        <source>オプション '%1' はありません。</source>
        <translation>unknown option '%1'</translation>
    </message>
    <message>
        <source>グレー</source>
        <translation>greyscale</translation>
    </message>
    <message>
        <source>コーデック</source>
        <translation>Codec</translation>
    </message>
    <message>
        <source>ステッカーの対象 (--sticker, --check-sticker TARGET):</source>
        <translation>Sticker targets (--sticker, --check-sticker TARGET):</translation>
    </message>
    <message>
        <source>ファイルの大きさ</source>
        <translation>File size</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>pass</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>FAIL</translation>
    </message>
    <message>
        <source>注意</source>
        <translation>warn</translation>
    </message>
    <message>
        <source>中断しました。%1</source>
        <translation>interrupted; %1</translation>
    </message>
    <message>
        <source>中断しました。(%1 こまを書き出し済み)</source>
        <translation>interrupted (%1 frames written)</translation>
    </message>
    <message>
        <source>使い方は 'kinetta-render --help' で見られます。</source>
        <translation>Try 'kinetta-render --help' for more information.</translation>
    </message>
    <message>
        <source>再生回数</source>
        <translation>Plays</translation>
    </message>
    <message>
        <source>再生回数 x 1 回の長さが %1 秒以下</source>
        <translation>plays x length at most %1 s</translation>
    </message>
    <message>
        <source>再生回数 x 長さ 最大 %1 秒</source>
        <translation>plays x length max %1 s</translation>
    </message>
    <message>
        <source>再生時間</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>大きさ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>指定なし</source>
        <translation>not set</translation>
    </message>
    <message>
        <source>最大 %1</source>
        <translation>max %1</translation>
    </message>
    <message>
        <source>最大 %1 こま</source>
        <translation>max %1 frames</translation>
    </message>
    <message>
        <source>最大 %1 こま/秒</source>
        <translation>max %1 fps</translation>
    </message>
    <message>
        <source>最大 %1 秒</source>
        <translation>max %1 s</translation>
    </message>
    <message>
        <source>残り %1</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <source>注意: </source>
        <translation>note: </translation>
    </message>
    <message>
        <source>無限</source>
        <translation>forever</translation>
    </message>
    <message>
        <source>無限 (1 回 %1 秒)</source>
        <translation>forever (%1 s per loop)</translation>
    </message>
    <message>
        <source>画像が指定されていません。</source>
        <translation>no picture given</translation>
    </message>
    <message>
        <source>画像ごとにフォルダを分けてください (-o 'DIR/%s')。</source>
        <translation>give each picture its own folder (-o 'DIR/%s')</translation>
    </message>
    <message>
        <source>画像ごとの名前にするには %s を入れてください (%1 '%s%2')。</source>
        <translation>put %s in the name to give each picture its own (%1 '%s%2')</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>透明な背景</source>
        <translation>Transparent background</translation>
    </message>
    <message>
        <source>長い辺 %1 以上</source>
        <translation>longer side at least %1</translation>
    </message>
    <message>
        <source>音声</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>音声なし</source>
        <translation>no audio</translation>
    </message>
    <message>
        <source>背景が透明</source>
        <translation>transparent background</translation>
    </message>
    <message>
        <source>使い方: kinetta-render [オプション]... PICTURE...

PICTURE ごとに順に、同じオプションで一つの動きのこまを描きます。こまは画像の横
(または --output DIR) に、画像の名前の最初の点まで、2 桁 (以上) のこま番号と
.bmp (--frame-format png では .png) の名前で、デスクトップのプログラムと同じ
ように書き出します。

オプション:
</source>
        <translation>Usage: kinetta-render [options] PICTURE...

Render the frames of one motion for each PICTURE in turn, with the same options.
The frames are written beside the picture (or in --output DIR), named after the
picture up to its first dot, with a frame number of two or more digits and .bmp
(.png with --frame-format png), just as the desktop program names them.

Options:
</translation>
    </message>
    <message>
        <source>  --shape N          0-8 または plane, disk, sphere, cylinder, flag, water,
                     flip, cutout, fadein
</source>
        <translation>  --shape N          0-8 or plane, disk, sphere, cylinder, flag, water,
                     flip, cutout, fadein
</translation>
    </message>
    <message>
        <source>  --width-mode M     こまの幅: 0 原画の幅、1 原画の高さ、2 --width の値
</source>
        <translation>  --width-mode M     frame width: 0 the picture's width, 1 its height, 2 --width
</translation>
    </message>
    <message>
        <source>  --width PX         横幅の指定 2 のこまの幅 (1-32767)
</source>
        <translation>  --width PX         frame width in pixels for --width-mode 2 (1-32767)
</translation>
    </message>
    <message>
        <source>  --background COLOR 赤 + 256*緑 + 65536*青 の 10 進数、または #RRGGBB。または
                     transparent: 画像の透明さを保ち、動きが周りに塗るところを
                     透明にする (mivet.ini の色、またはその前の --background
                     COLOR は、水面の色付けと BMP のこまの下地に使う)
</source>
        <translation>  --background COLOR red + 256*green + 65536*blue in decimal, or #RRGGBB; or
                     transparent: keep the picture's transparency and leave
                     clear what the motion paints around it (the colour from
                     mivet.ini, or an earlier --background COLOR, still tints
                     the water and lies under BMP frames)
</translation>
    </message>
    <message>
        <source>  --frame-format F   bmp (24 ビット、背景色の上に重ねる) または png (透明
                     を持つ)。既定の auto では、背景が透明なら png、ほかは bmp
</source>
        <translation>  --frame-format F   bmp (24-bit, over the background colour) or png (keeps
                     transparency); the default, auto, is png on a transparent
                     background and bmp otherwise
</translation>
    </message>
    <message>
        <source>  --frames N         こま数 (1-32767)
</source>
        <translation>  --frames N         number of frames (1-32767)
</translation>
    </message>
    <message>
        <source>  --shade 0|1        動きごとの切り替え: 陰影、水面の色付け、または点の描き方
</source>
        <translation>  --shade 0|1        the motion's switch: shading, water tint or dot mode
</translation>
    </message>
    <message>
        <source>  --seed S           フェードインの点の並びを毎回同じにする
</source>
        <translation>  --seed S           make the fade-in's dots repeatable
</translation>
    </message>
    <message>
        <source>  --html SECONDS     実行の後、こまの横に animate.htm も書き出す。ひとコマを
                     SECONDS 秒 (0-32.767) ずつ表示し、表示に要る
                     vorrel.class と vorrel.js は見本のフォルダからコピーする
</source>
        <translation>  --html SECONDS     after the run, also write animate.htm beside the frames,
                     showing each frame for SECONDS (0-32.767), with the viewer
                     files vorrel.class and vorrel.js from the sample folder
</translation>
    </message>
    <message>
        <source>  --gif FILE         実行の後、繰り返し再生する GIF アニメーションも書き出す
</source>
        <translation>  --gif FILE         after the run, also write the frames as a looping GIF
</translation>
    </message>
    <message>
        <source>  --webp FILE        実行の後、繰り返し再生する可逆の WebP も書き出す
</source>
        <translation>  --webp FILE        after the run, also write them as a looping lossless WebP
</translation>
    </message>
    <message>
        <source>  --webp-quality Q   その WebP を品質 Q (1-100、よく使うのは 80) の非可逆にする
</source>
        <translation>  --webp-quality Q   make that WebP lossy at quality Q (1-100; 80 is typical)
</translation>
    </message>
    <message>
        <source>  --mp4 FILE         実行の後、H.264 の MP4 動画も書き出す (幅や高さが奇数なら
                     背景色の列か行を一つ足す)
</source>
        <translation>  --mp4 FILE         after the run, also write them as an H.264 MP4 video (an
                     odd width or height gets a column or row of the background)
</translation>
    </message>
    <message>
        <source>  --apng FILE        実行の後、繰り返し再生する可逆の APNG (.png) も書き出す
</source>
        <translation>  --apng FILE        after the run, also write them as a looping lossless APNG
</translation>
    </message>
    <message>
        <source>  --webm FILE        実行の後、透明を保つ VP9 の WebM 動画も書き出す
</source>
        <translation>  --webm FILE        after the run, also write them as a VP9 WebM video that
                     keeps their transparency
</translation>
    </message>
    <message>
        <source>  --delay SECONDS    それらのファイルのひとコマの秒数 (0-32.767、既定 0.2)
</source>
        <translation>  --delay SECONDS    seconds per frame in those files (0-32.767, default 0.2)
</translation>
    </message>
    <message>
        <source>  --check-sticker TARGET FILE
                     FILE を TARGET (下記) の条件と照らし合わせ、条件ごとに
                     合格、不合格 または 注意 (受け付けられるが望ましくない)
                     と測った値を示す。画像は要らず、画像の後に行う
</source>
        <translation>  --check-sticker TARGET FILE
                     check FILE against the rules of TARGET (below): each rule
                     with pass, FAIL or warn (accepted, but not recommended) and
                     the value measured; done after the pictures, if any
</translation>
    </message>
    <message>
        <source>  --sticker TARGET FILE
                     実行の後、TARGET (下記。今は discord-emoji と slack) の
                     FILE も書き出す。こまをその大きさに縮め、すべての条件を
                     満たすまで色かこまを減らし、書き出す前に確かめ、選んだ
                     ものを PSNR と共に示す
</source>
        <translation>  --sticker TARGET FILE
                     after the run, also write FILE for TARGET (below; so far
                     discord-emoji and slack): the frames scaled to its size,
                     with fewer colours or frames until every rule is met,
                     checked before it is written; what was chosen is shown
                     with its PSNR
</translation>
    </message>
    <message>
        <source>  --matte COLOR      GIF の半透明の画素を、自分の色のままにせず COLOR (ページ
                     の色。書き方は --background と同じ) に重ねる。GIF は不透
                     明さが半分以上の画素を表示し、ほかは透明にする
</source>
        <translation>  --matte COLOR      lay the GIF's partly transparent pixels over COLOR (the
                     page's, as in --background) instead of keeping their own
                     colour; a GIF shows a pixel at least half opaque and leaves
                     the others clear
</translation>
    </message>
    <message>
        <source>  --max-memory MIB   これより多くのメモリが要る実行やアニメーションファイル
                     を断る
                     (既定: マシンで使えるメモリ)
</source>
        <translation>  --max-memory MIB   refuse a run or animation file that would need more memory
                     (default: the memory the machine has available)
</translation>
    </message>
    <message>
        <source>  -o, --output DIR   こま、ページ、フォルダなしで指定した FILE を、画像の横では
                     なく DIR に書き出す (なければ作る)
</source>
        <translation>  -o, --output DIR   write the frames, the page and each FILE given without a
                     folder in DIR (created if missing), not beside the picture
</translation>
    </message>
    <message>
        <source>  -q, --quiet        進み具合の行も、書き出したものの報告も出さない
</source>
        <translation>  -q, --quiet        no progress line and no report of what was written
</translation>
    </message>
    <message>
        <source>  -h, --help         この説明を表示する
</source>
        <translation>  -h, --help         show this help
</translation>
    </message>
    <message>
        <source>  --version          プログラムの名前と版を表示する
</source>
        <translation>  --version          show the program's name and version
</translation>
    </message>
    <message>
        <source>
FILE と DIR の中の %s は、画像の名前の最初の点までを表します (% は %%)。
二つの画像が同じファイルを書き出すことはできません。画像が複数なら、それぞれに
アニメーションファイル (--gif '%s.gif') とページのフォルダ (--output 'pages/%s')
を分けてください。
指定のないオプションは、プログラムのフォルダの mivet.ini (そこに書き込めなければ
~/.config/kinetta の mivet.ini) から、なければ既定の値になります。
実行に時間がかかるという注意 (幅が大きい、原図が大きい、こま数が多い) は、一回の
呼び出しにつき一度、それに当たる最初の画像で表示します。-q では表示しません。
終了ステータス: 0 すべての画像を書き出した、1 開けない画像があったか、こま、
ページ、アニメーションファイルを書き出せなかったか、確かめたファイルが読めないか
条件を満たさない、2 オプションの誤り、130 中断 (書き終えた画像は残る)。
</source>
        <translation>
In FILE and DIR, %s stands for the picture's name up to its first dot (%% for
%). Two pictures may not write the same file: with several pictures, give each
its own animation file (--gif '%s.gif') and page folder (--output 'pages/%s').
Options not given come from mivet.ini in the program folder (or in
~/.config/kinetta where the program folder cannot be written), or the defaults.
A note that a run will take long (wide frames, a large picture, many frames) is
printed once per call, at the first picture it concerns; -q leaves it out.
Exit status: 0 every picture done; 1 a picture unreadable, a frame, page or
animation file not written, or a checked file unreadable or failing a rule;
2 bad option; 130 interrupted (the pictures finished are kept).
</translation>
    </message>
    <message>
        <source>再生 1-%1 回</source>
        <translation>1-%1 plays</translation>
    </message>
    <message>
        <source>  --max-side PX      それらのファイルのこまを、縦横の比を保ち、長い辺が PX 以下
                     になるよう縮める (16-16384。よく使うのは 3840、1920、1280、
                     720、480)。MP4 は常に H.264 レベル 5.1 (1 こま 36864 マクロ
                     ブロックまで) に収め、電話やチャットのアプリで再生できるように
                     する。そのために小さくしたときは注意を表示する
</source>
        <translation>  --max-side PX      scale the frames of those files down, proportions kept, so that
                     their longer side is at most PX (16-16384; 3840, 1920, 1280, 720
                     and 480 are usual); an MP4 is always kept within H.264 level 5.1
                     (at most 36864 macroblocks a frame), which phones and chat apps
                     play, and a note says when that made it smaller
</translation>
    </message>
    <message>
        <source>MP4 は H.264 レベル 5.1 に収まるよう %1 x %2 に縮小しました。</source>
        <translation>The MP4 was scaled down to %1 x %2 to stay within H.264 level 5.1.</translation>
    </message>
    <message>
        <source>%1 KB 以下</source>
        <translation>max %1 KB</translation>
    </message>
    <message>
        <source>%1 x %2 以内</source>
        <translation>within %1 x %2</translation>
    </message>
    <message>
        <source>%1 こま</source>
        <translation>%1 frames</translation>
    </message>
    <message>
        <source>%1 こま/秒以下</source>
        <translation>max %1 fps</translation>
    </message>
    <message>
        <source>%1 こま以下</source>
        <translation>max %1 frames</translation>
    </message>
    <message>
        <source>%1 秒以下</source>
        <translation>max %1 s</translation>
    </message>
    <message>
        <source>%1-%2 こま</source>
        <translation>%1-%2 frames</translation>
    </message>
    <message>
        <source>%1、%2 こま、%3 回再生、1 回 %4 秒、%5 KB、PSNR %6 dB</source>
        <translation>%1, %2 frames, %3 plays, %4 s each, %5 KB, PSNR %6 dB</translation>
    </message>
    <message>
        <source>%1、%2 こま、%3 秒、%4 KB、PSNR %5 dB</source>
        <translation>%1, %2 frames, %3 s, %4 KB, PSNR %5 dB</translation>
    </message>
    <message>
        <source>1-%1 回再生</source>
        <translation>1-%1 plays</translation>
    </message>
    <message>
        <source>Discord スタンプ</source>
        <translation>Discord sticker</translation>
    </message>
    <message>
        <source>Discord 絵文字</source>
        <translation>Discord emoji</translation>
    </message>
    <message>
        <source>LINE アニメーションスタンプ</source>
        <translation>LINE animated sticker</translation>
    </message>
    <message>
        <source>LINE アニメーションスタンプのメイン画像</source>
        <translation>LINE animated sticker main image</translation>
    </message>
    <message>
        <source>LINE トークルームタブ画像</source>
        <translation>LINE chat tab image</translation>
    </message>
    <message>
        <source>Slack 絵文字</source>
        <translation>Slack emoji</translation>
    </message>
    <message>
        <source>Telegram ビデオステッカー</source>
        <translation>Telegram video sticker</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>こま/秒</source>
        <translation>frames per second</translation>
    </message>
    <message>
        <source>コーデック</source>
        <translation>codec</translation>
    </message>
    <message>
        <source>ファイルの大きさ</source>
        <translation>file size</translation>
    </message>
    <message>
        <source>再生回数</source>
        <translation>plays</translation>
    </message>
    <message>
        <source>再生回数 x 1 回の長さが %1 秒以下</source>
        <translation>plays x length max %1 s</translation>
    </message>
    <message>
        <source>再生時間</source>
        <translation>playing time</translation>
    </message>
    <message>
        <source>大きさ</source>
        <translation>size</translation>
    </message>
    <message>
        <source>無限</source>
        <translation>for ever</translation>
    </message>
    <message>
        <source>色</source>
        <translation>colours</translation>
    </message>
    <message>
        <source>透明な背景</source>
        <translation>transparent background</translation>
    </message>
    <message>
        <source>長い辺 %1 以上</source>
        <translation>longer side at least %1</translation>
    </message>
    <message>
        <source>音声</source>
        <translation>audio</translation>
    </message>
    <message>
        <source>音声なし</source>
        <translation>no audio</translation>
    </message>
    <message>
        <source>汎用</source>
        <translation>General</translation>
    </message>
    <message>
        <source>  --sticker TARGET FILE
                     実行の後、TARGET (下記) の FILE も書き出す。こまをその
                     大きさに縮め、すべての条件を満たすまで色かこまを減らし
                     (動画はビットレートを下げ)、書き出す前に確かめ、選んだ
                     ものを PSNR と共に示す
</source>
        <translation>  --sticker TARGET FILE
                     after the run, also write FILE for TARGET (below): the frames
                     scaled to its size, with fewer colours or frames (a video: a
                     lower bitrate) until every rule is met, checked before it is
                     written, and what was chosen reported with its PSNR
</translation>
    </message>
    <message>
        <source>%1 を書き出しました。(%2: %3、%4 こま、1 回 %5 秒、%6、映像 %7 kbit/s、PSNR %8 dB)</source>
        <translation>wrote %1 (%2: %3, %4 frames, %5 s per loop, %6, video %7 kbit/s, PSNR %8 dB)</translation>
    </message>
    <message>
        <source>用途(&amp;U)</source>
        <translation>&amp;Use</translation>
    </message>
    <message>
        <source>%1 は透明な背景が求められます。背景色の上の絵のまま書き出します。</source>
        <translation>%1 wants a transparent background; writing the picture over the background colour as it is.</translation>
    </message>
    <message>
        <source>%1 を書き出しました。(%2: %3、%4 こま、%5、%6、PSNR %7 dB)</source>
        <translation>wrote %1 (%2: %3, %4 frames, %5, %6, PSNR %7 dB)</translation>
    </message>
    <message>
        <source>%1 を書き出しました。(%2: %3、%4 こま、繰り返し %5、1 回 %6 秒、%7、%8、PSNR %9 dB)</source>
        <translation>wrote %1 (%2: %3, %4 frames, looping %5, %6 s per loop, %7, %8, PSNR %9 dB)</translation>
    </message>
    <message>
        <source>パレット %1 色</source>
        <translation>palette of %1 colours</translation>
    </message>
    <message>
        <source>書き出すのはスタンプだけなので、こまを %1 x %2 で描きました。</source>
        <translation>Only stickers are written, so the frames were drawn at %1 x %2.</translation>
    </message>
    <message>
        <source>色 %1 ビット</source>
        <translation>%1-bit colour</translation>
    </message>
</context>
</TS>
