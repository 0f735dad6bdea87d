// The entry points the engine binds, one list per library, in binding order.
// Each list is an X-macro: X(name) for every exported function `name`.  The loader
// declares one pointer per entry in the table `AV` (typed from the FFmpeg/SDL
// headers) and binds it by name; every entry is required.  To use another FFmpeg or
// SDL function anywhere in the engine, add its name to its library's list here.
#pragma once

#define VC_AVUTIL_ENTRIES(X) \
    X(av_log) X(av_log_default_callback) X(av_log_get_level) X(av_log_set_callback) \
    X(av_log_set_level) X(av_log_set_flags) X(av_default_item_name) \
    X(av_malloc) X(av_mallocz) X(av_realloc) X(av_free) X(av_freep) X(av_strdup) \
    X(av_strlcpy) X(av_strstart) X(av_fast_malloc) X(av_fast_realloc) \
    X(av_gcd) X(av_reduce) X(av_rescale) X(av_rescale_rnd) X(av_rescale_q) X(av_rescale_q_rnd) \
    X(av_rescale_delta) X(av_compare_ts) X(av_find_nearest_q_idx) X(av_d2q) X(av_mul_q) \
    X(av_div_q) X(av_add_q) X(av_sub_q) X(av_nearer_q) X(av_get_time_base_q) \
    X(av_gettime) X(av_gettime_relative) X(av_usleep) X(av_strerror) X(av_cpu_count) \
    X(av_get_media_type_string) X(av_get_picture_type_char) \
    X(av_get_pix_fmt) X(av_get_pix_fmt_name) X(av_pix_fmt_desc_get) X(av_pix_fmt_desc_next) \
    X(av_pix_fmt_desc_get_id) X(av_get_bits_per_pixel) \
    X(av_get_sample_fmt) X(av_get_sample_fmt_name) X(av_get_bytes_per_sample) \
    X(av_sample_fmt_is_planar) X(av_get_packed_sample_fmt) X(av_get_planar_sample_fmt) \
    X(av_samples_get_buffer_size) X(av_samples_alloc) X(av_samples_fill_arrays) \
    X(av_samples_copy) X(av_samples_set_silence) \
    X(av_channel_layout_default) X(av_channel_layout_uninit) X(av_channel_layout_copy) \
    X(av_channel_layout_describe) X(av_channel_layout_compare) X(av_channel_layout_from_mask) \
    X(av_channel_layout_from_string) X(av_channel_layout_check) \
    X(av_frame_alloc) X(av_frame_free) X(av_frame_ref) X(av_frame_unref) X(av_frame_move_ref) \
    X(av_frame_clone) X(av_frame_get_buffer) X(av_frame_make_writable) X(av_frame_copy) \
    X(av_frame_copy_props) X(av_frame_get_side_data) \
    X(av_image_get_buffer_size) X(av_image_fill_arrays) X(av_image_fill_linesizes) \
    X(av_image_copy) X(av_image_copy_plane) X(av_image_alloc) X(av_image_copy_to_buffer) \
    X(av_image_check_size) \
    X(av_dict_get) X(av_dict_set) X(av_dict_set_int) X(av_dict_copy) X(av_dict_free) \
    X(av_dict_count) X(av_dict_parse_string) X(av_dict_get_string) \
    X(av_opt_find) X(av_opt_set) X(av_opt_set_int) X(av_opt_set_double) X(av_opt_set_q) \
    X(av_opt_set_bin) X(av_opt_set_sample_fmt) X(av_opt_set_pixel_fmt) X(av_opt_set_chlayout) \
    X(av_opt_set_dict) X(av_opt_set_dict2) X(av_opt_set_defaults) X(av_opt_free) \
    X(av_opt_get) X(av_opt_get_int) X(av_opt_get_double) X(av_opt_get_q) X(av_opt_next) \
    X(av_opt_child_class_iterate) X(av_int_list_length_for_size) \
    X(av_audio_fifo_alloc) X(av_audio_fifo_free) X(av_audio_fifo_write) X(av_audio_fifo_read) \
    X(av_audio_fifo_peek) X(av_audio_fifo_size) X(av_audio_fifo_space) X(av_audio_fifo_realloc) \
    X(av_audio_fifo_drain) X(av_audio_fifo_reset) \
    X(av_fifo_alloc2) X(av_fifo_write) X(av_fifo_read) X(av_fifo_peek) X(av_fifo_can_read) \
    X(av_fifo_can_write) X(av_fifo_drain2) X(av_fifo_reset2) X(av_fifo_freep2) \
    X(av_parse_video_rate) X(av_parse_video_size) X(av_parse_time) X(av_parse_ratio) \
    X(av_get_token) X(av_match_name)

#define VC_SWRESAMPLE_ENTRIES(X) \
    X(swr_alloc) X(swr_alloc_set_opts2) X(swr_init) X(swr_is_initialized) X(swr_close) \
    X(swr_free) X(swr_convert) X(swr_convert_frame) X(swr_config_frame) X(swr_get_delay) \
    X(swr_get_out_samples) X(swr_next_pts) X(swr_set_compensation) X(swr_drop_output) \
    X(swr_inject_silence) X(swr_get_class)

#define VC_SWSCALE_ENTRIES(X) \
    X(sws_getContext) X(sws_getCachedContext) X(sws_freeContext) X(sws_scale) \
    X(sws_scale_frame) X(sws_alloc_context) X(sws_init_context) X(sws_get_class) \
    X(sws_isSupportedInput) X(sws_isSupportedOutput) X(sws_getDefaultFilter) \
    X(sws_freeFilter) X(sws_setColorspaceDetails) X(sws_getCoefficients)

#define VC_AVCODEC_ENTRIES(X) \
    X(avcodec_find_decoder) X(avcodec_find_decoder_by_name) X(avcodec_find_encoder) \
    X(avcodec_find_encoder_by_name) X(av_codec_iterate) X(av_codec_is_encoder) \
    X(av_codec_is_decoder) X(avcodec_get_name) X(avcodec_get_type) X(avcodec_descriptor_get) \
    X(avcodec_descriptor_get_by_name) X(avcodec_get_class) X(avcodec_string) \
    X(avcodec_profile_name) X(av_get_profile_name) \
    X(avcodec_alloc_context3) X(avcodec_free_context) X(avcodec_parameters_alloc) \
    X(avcodec_parameters_free) X(avcodec_parameters_copy) X(avcodec_parameters_to_context) \
    X(avcodec_parameters_from_context) X(avcodec_open2) X(avcodec_close) \
    X(avcodec_send_packet) X(avcodec_receive_frame) X(avcodec_send_frame) \
    X(avcodec_receive_packet) X(avcodec_flush_buffers) X(avcodec_decode_subtitle2) \
    X(avcodec_encode_subtitle) X(avsubtitle_free) X(avcodec_align_dimensions2) \
    X(avcodec_find_best_pix_fmt_of_list) X(avcodec_pix_fmt_to_codec_tag) \
    X(av_get_bits_per_sample) X(av_get_exact_bits_per_sample) X(av_get_pcm_codec) \
    X(av_get_audio_frame_duration) \
    X(av_packet_alloc) X(av_packet_free) X(av_packet_ref) X(av_packet_unref) \
    X(av_packet_move_ref) X(av_packet_clone) X(av_packet_make_writable) X(av_new_packet) \
    X(av_grow_packet) X(av_shrink_packet) X(av_packet_rescale_ts) X(av_packet_get_side_data) \
    X(av_packet_new_side_data) X(av_packet_add_side_data) X(av_packet_copy_props) \
    X(av_bsf_get_by_name) X(av_bsf_alloc) X(av_bsf_init) X(av_bsf_send_packet) \
    X(av_bsf_receive_packet) X(av_bsf_flush) X(av_bsf_free) X(av_bsf_list_parse_str) \
    X(av_parser_init) X(av_parser_parse2) X(av_parser_close) \
    X(av_rdft_init) X(av_rdft_calc) X(av_rdft_end)

#define VC_AVFORMAT_ENTRIES(X) \
    X(avformat_alloc_context) X(avformat_free_context) X(avformat_get_class) \
    X(avformat_open_input) X(avformat_close_input) X(avformat_find_stream_info) \
    X(av_find_input_format) X(av_find_best_stream) X(av_read_frame) X(av_read_play) \
    X(av_read_pause) X(av_seek_frame) X(avformat_seek_file) X(avformat_flush) \
    X(avformat_alloc_output_context2) X(av_guess_format) X(av_guess_codec) \
    X(av_guess_frame_rate) X(av_guess_sample_aspect_ratio) X(avformat_new_stream) \
    X(av_new_program) X(av_program_add_stream_index) X(avformat_query_codec) \
    X(avformat_init_output) X(avformat_write_header) X(av_write_frame) \
    X(av_interleaved_write_frame) X(av_write_trailer) X(av_dump_format) X(av_sdp_create) \
    X(av_codec_get_id) X(av_codec_get_tag) X(av_codec_get_tag2) X(av_filename_number_test) \
    X(av_get_frame_filename) X(av_demuxer_iterate) X(av_muxer_iterate) \
    X(avformat_match_stream_specifier) X(avformat_network_init) X(avformat_network_deinit) \
    X(av_url_split) X(av_pkt_dump_log2) X(av_stream_get_end_pts) \
    X(avio_alloc_context) X(avio_context_free) X(avio_open) X(avio_open2) X(avio_close) \
    X(avio_closep) X(avio_size) X(avio_seek) X(avio_skip) X(avio_feof) X(avio_flush) \
    X(avio_write) X(avio_w8) X(avio_read) X(avio_r8) X(avio_printf) X(avio_put_str) \
    X(avio_check) X(avio_enum_protocols) X(avio_find_protocol_name) \
    X(avio_open_dyn_buf) X(avio_close_dyn_buf)

#define VC_AVFILTER_ENTRIES(X) \
    X(avfilter_get_by_name) X(av_filter_iterate) X(avfilter_get_class) \
    X(avfilter_graph_alloc) X(avfilter_graph_free) X(avfilter_graph_alloc_filter) \
    X(avfilter_graph_create_filter) X(avfilter_graph_parse_ptr) X(avfilter_graph_parse2) \
    X(avfilter_graph_config) X(avfilter_graph_send_command) X(avfilter_graph_request_oldest) \
    X(avfilter_graph_dump) X(avfilter_init_str) X(avfilter_init_dict) X(avfilter_link) \
    X(avfilter_free) X(avfilter_inout_alloc) X(avfilter_inout_free) \
    X(av_buffersrc_add_frame) X(av_buffersrc_add_frame_flags) X(av_buffersrc_write_frame) \
    X(av_buffersrc_parameters_alloc) X(av_buffersrc_parameters_set) \
    X(av_buffersrc_get_nb_failed_requests) X(av_buffersink_get_frame) \
    X(av_buffersink_get_frame_flags) X(av_buffersink_get_samples) \
    X(av_buffersink_set_frame_size) X(av_buffersink_get_type) X(av_buffersink_get_w) \
    X(av_buffersink_get_h) X(av_buffersink_get_format) X(av_buffersink_get_time_base) \
    X(av_buffersink_get_frame_rate) X(av_buffersink_get_sample_aspect_ratio) \
    X(av_buffersink_get_sample_rate) X(av_buffersink_get_ch_layout) \
    X(av_buffersink_get_channels)

#define VC_AVDEVICE_ENTRIES(X) X(avdevice_register_all)

// The C runtime is used directly; its row only keeps the library sets whole.
#define VC_LIBC_ENTRIES(X)

#define VC_SDL_ENTRIES(X) \
    X(SDL_Init) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_WasInit) X(SDL_Quit) \
    X(SDL_GetError) X(SDL_ClearError) X(SDL_AddTimer) X(SDL_RemoveTimer) X(SDL_Delay) \
    X(SDL_GetTicks) X(SDL_OpenAudio) X(SDL_PauseAudio) X(SDL_CloseAudio) X(SDL_LockAudio) \
    X(SDL_UnlockAudio) X(SDL_MixAudio) X(SDL_GetAudioStatus) X(SDL_AudioDriverName) \
    X(SDL_WaitEvent) X(SDL_PollEvent) X(SDL_PushEvent) X(SDL_PeepEvents) X(SDL_PumpEvents) \
    X(SDL_EventState) X(SDL_GetVideoInfo) X(SDL_VideoDriverName) X(SDL_SetVideoMode) \
    X(SDL_GetVideoSurface) X(SDL_UpdateRect) X(SDL_UpdateRects) X(SDL_Flip) \
    X(SDL_WM_SetCaption) X(SDL_ShowCursor) X(SDL_MapRGB) X(SDL_FillRect) \
    X(SDL_CreateRGBSurface) X(SDL_FreeSurface) X(SDL_LockSurface) X(SDL_UnlockSurface) \
    X(SDL_CreateYUVOverlay) X(SDL_LockYUVOverlay) X(SDL_UnlockYUVOverlay) \
    X(SDL_DisplayYUVOverlay) X(SDL_FreeYUVOverlay) \
    X(SDL_CreateMutex) X(SDL_mutexP) X(SDL_mutexV) X(SDL_DestroyMutex) X(SDL_CreateCond) \
    X(SDL_DestroyCond) X(SDL_CondSignal) X(SDL_CondBroadcast) X(SDL_CondWait) \
    X(SDL_CondWaitTimeout) X(SDL_CreateSemaphore) X(SDL_DestroySemaphore) X(SDL_SemPost) \
    X(SDL_SemWait) X(SDL_SemWaitTimeout) X(SDL_CreateThread) X(SDL_WaitThread) X(SDL_ThreadID)
