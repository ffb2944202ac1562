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
        <source>透明</source>
        <translation>Transparent</translation>
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
        <source>この対象のファイルはまだ作れません (作れるのは GIF、APNG、PNG の対象です)。</source>
        <translation>Files for this target cannot be made yet (the GIF, APNG and PNG targets can).</translation>
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
        <source>半透明の部分を背景色に重ねる</source>
        <translation>Lay partly transparent pixels over the background colour</translation>
    </message>
    <message>
        <source>WebPの画質</source>
        <translation>WebP quality</translation>
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
        <source>今後この確認を表示しない</source>
        <translation>Don't ask again</translation>
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
        <source>参照...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>実行前の確認を表示する</source>
        <translation>Ask before long runs</translation>
    </message>
    <message>
        <source>置き換える</source>
        <translation>Replace</translation>
    </message>
</context>
</TS>
